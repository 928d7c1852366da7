// Checked standard mathematical functions.  Each classifies its own failure
// the way a math library's error hook would (domain, singularity, overflow)
// and raises the composed "Math Library Error" TP_Exceptions at once; the
// calculation never goes on with a substitute value.
#pragma once

#include <string>

enum class MathErrorKind : int {
    Domain = 1,
    Singularity = 2,
    Overflow = 3,
    Underflow = 4,
    TotalLoss = 5,
    PartialLoss = 6,
    StackOverflow = 7,
};

// The code carried by the raised error: 110 for kind 1 up to 170 for kind 7;
// any other kind number n is carried as n.
int MathErrorCode(int kind);

// "Math Library Error\r\rFunction:  sqrt( )\rArgument 1 = -4 \rArgument 2 = 0\r..."
std::string MathErrorText(int kind, const char* function, double arg1, double arg2);

// Raises the TP_Exceptions for one error report.
[[noreturn]] void RaiseMathError(int kind, const char* function, double arg1, double arg2 = 0.0);

double CheckedSqrt(double x);
double CheckedLog(double x);
double CheckedLog10(double x);
double CheckedExp(double x);
double CheckedPow(double x, double y);
double CheckedSin(double x);
double CheckedCos(double x);
double CheckedTan(double x);
double CheckedSinh(double x);
double CheckedCosh(double x);
double CheckedAtan2(double y, double x);
