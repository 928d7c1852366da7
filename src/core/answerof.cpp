#include "core/answerof.h"

#include <stdexcept>

#include "core/widebanddielectric.h"

LineAnswer AnswerOf(const LineResult& result, const LineInputs& read) {
    LineAnswer answer;
    answer.result = result;
    try {
        answer.inputs = AtFrequency(read);
    } catch (...) {
        answer.failure = std::current_exception();
    }
    return answer;
}

LineAnswer AnswerOf(const SweepPoint& point) {
    LineAnswer answer;
    answer.result = point.values;
    answer.warnings = point.warnings;
    if (!point.Ok()) answer.failure = std::make_exception_ptr(std::runtime_error(point.error));
    return answer;
}
