// The calculation's one error class: the text the user sees (at most 199
// characters), and for solver and math-library errors a code with the
// value(s) that caused it.  Every error a line kernel, the solver or a
// checked function raises is of this type, so one catch ladder serves every
// caller (CurrentErrorText).
#pragma once

#include <cstring>
#include <stdexcept>
#include <string>

class TP_Exceptions : public std::runtime_error {
  public:
    static constexpr int kTextCapacity = 200; // at most 199 characters and a terminator
    static constexpr int kNoSolutionCode = 10001;

    // A calculation error is shown by the line's Analyze and Synthesize; a
    // domain error (an input no formula of the line accepts, found by the
    // kernel's own check) is shown by Analyze where the line says so and
    // otherwise passes on to the window's general error display.
    enum class Kind { Calculation, Domain };

    // Plain message, no code.
    explicit TP_Exceptions(const std::string& message) : std::runtime_error(Capped(message)) {
        SetText(message);
    }

    // Message with a code and the value that goes with it (solver errors).
    TP_Exceptions(int code, const std::string& message, double value)
        : std::runtime_error(Capped(message)), hasCode_(1), value_(value), code_(code) {
        SetText(message);
    }

    // A report of the mathematical-function error handler.
    static TP_Exceptions MathError(int code, const std::string& message, double arg1, double arg2) {
        TP_Exceptions e(code, message, arg1);
        e.isMathError_ = 1;
        e.value2_ = arg2;
        return e;
    }

    static TP_Exceptions Domain(const std::string& message) {
        TP_Exceptions e(message);
        e.kind_ = Kind::Domain;
        return e;
    }

    const char* text() const { return text_; }
    int code() const { return code_; }
    bool hasCode() const { return hasCode_ == 1; }
    bool isMathError() const { return isMathError_ == 1; }
    double value() const { return value_; }
    double value2() const { return value2_; }
    Kind kind() const { return kind_; }

  private:
    static std::string Capped(const std::string& message) {
        // Longer texts are cut at the capacity rather than overrun it.
        return message.substr(0, kTextCapacity - 1);
    }
    void SetText(const std::string& message) {
        const std::string text = Capped(message);
        std::memcpy(text_, text.data(), text.size());
        text_[text.size()] = '\0';
    }

    char text_[kTextCapacity] = {};
    unsigned char hasCode_ = 0;
    unsigned char isMathError_ = 0;
    double value_ = 0.0;
    double value2_ = 0.0;
    int code_ = 0;
    Kind kind_ = Kind::Calculation;
};

// The message of the error being handled, whatever its type, or `unknown`
// for one that carries none.  Call only inside a catch block.
std::string CurrentErrorText(const char* unknown);
