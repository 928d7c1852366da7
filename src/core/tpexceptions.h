// The calculation core's one error class: the text the user sees, and for
// solver and math-library errors a code with the value(s) that caused it.
#pragma once

#include <cstring>
#include <string>

class TP_Exceptions {
public:
    static constexpr int kTextCapacity = 200;  // at most 199 characters and a terminator
    static constexpr int kNoSolutionCode = 10001;

    // Plain message, no code.
    explicit TP_Exceptions(const std::string& message) { SetText(message); }

    // Message with a code and the value that goes with it (solver errors).
    TP_Exceptions(int code, const std::string& message, double value)
        : hasCode_(1), value_(value), code_(code) {
        SetText(message);
    }

    // A report of the mathematical-function error handler.
    static TP_Exceptions MathError(int code, const std::string& message, double arg1, double arg2) {
        TP_Exceptions e(code, message, arg1);
        e.isMathError_ = 1;
        e.value2_ = arg2;
        return e;
    }

    const char* text() const { return text_; }
    int code() const { return code_; }
    bool hasCode() const { return hasCode_ == 1; }
    bool isMathError() const { return isMathError_ == 1; }
    double value() const { return value_; }
    double value2() const { return value2_; }

private:
    void SetText(const std::string& message) {
        // Longer texts are cut at the capacity rather than overrun it.
        const std::size_t n = message.size() < kTextCapacity - 1 ? message.size() : kTextCapacity - 1;
        std::memcpy(text_, message.data(), n);
        text_[n] = '\0';
    }

    char text_[kTextCapacity] = {};
    unsigned char hasCode_ = 0;
    unsigned char isMathError_ = 0;
    double value_ = 0.0;
    double value2_ = 0.0;
    int code_ = 0;
};

// A plain character string raised by a kernel's input checks (the slotline's
// "H must > 0" and friends).  Shown like any other calculation message.
struct PlainTextError {
    std::string text;
};
