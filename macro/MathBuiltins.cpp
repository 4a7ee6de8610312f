// The mathematical built-ins and the angle mode. Trigonometry takes and gives angles in the mode
// the pad's angle control sets (0 degrees, 1 radians, 2 grads).
#include "macro/Errors.h"
#include "macro/Machine.h"

#include <cerrno>
#include <cmath>
#include <ctime>

namespace {
constexpr long double kPi = 3.141592653589793238462643383279502884L;

double toRadians(double x)
{
    if (angleMode == 0) return degToRad(x);
    if (angleMode == 2) return gradToRad(x);
    return x;
}

double fromRadians(double x)
{
    if (angleMode == 0) return radToDeg(x);
    if (angleMode == 2) return radToGrad(x);
    return x;
}
}  // namespace

double degToRad(double x) { return static_cast<double>(x * kPi / 180.0L); }
double radToDeg(double x) { return static_cast<double>(x * 180.0L / kPi); }
double gradToRad(double x) { return static_cast<double>(x * kPi / 200.0L); }
double radToGrad(double x) { return static_cast<double>(x * 200.0L / kPi); }

double mathErrCheck(double value, const char* name)
{
    if (errno == EDOM) {
        errno = 0;
        macroError(name, "argument out of domain");
    }
    if (errno == ERANGE) {
        errno = 0;
        macroError(name, "result out of range");
    }
    return value;
}

// Runs f with errno cleared, so that the check sees only the errors of this call.
static double checkedCall(double (*f)(double), double x, const char* name)
{
    errno = 0;
    return mathErrCheck(f(x), name);
}

double mathSin(double x) { return std::sin(toRadians(x)); }
double mathCos(double x) { return std::cos(toRadians(x)); }
double mathTan(double x) { return std::tan(toRadians(x)); }
double mathAsin(double x) { return fromRadians(std::asin(x)); }
double mathAcos(double x) { return fromRadians(std::acos(x)); }
double mathAtan(double x) { return fromRadians(std::atan(x)); }
double mathLog(double x) { return checkedCall([](double v) { return std::log(v); }, x, "log"); }
double mathLog10(double x) { return checkedCall([](double v) { return std::log10(v); }, x, "log10"); }
double mathExp(double x) { return checkedCall([](double v) { return std::exp(v); }, x, "exp"); }
double mathSqrt(double x) { return checkedCall([](double v) { return std::sqrt(v); }, x, "sqrt"); }

// Truncation toward zero with no 32-bit limit: within -2^31 to 2^31 - 1 it is what a cast to a
// 32-bit integer gives; beyond, the whole part itself (int(3e10) is 3e10), never a wrapped or
// clamped integer. Doubles from 2^52 up are whole already; infinities and NaN pass unchanged.
// The % operator and modulo() take their operands by the same rule.
double mathInt(double x) { return std::trunc(x) + 0.0; }

double mathAbs(double x) { return std::fabs(x); }

double mathRand(double x)
{
    if (x > 0.0) macroSrand(static_cast<unsigned>(std::time(nullptr)));
    return macroRand();
}

double mathStop(double x)
{
    stopFlag = 1;
    return x;
}

double mathPow(double x, double y)
{
    errno = 0;
    return mathErrCheck(std::pow(x, y), "exponentiation");
}

double mathAtan2(double y, double x)
{
    errno = 0;
    return fromRadians(mathErrCheck(std::atan2(y, x), "atan2"));
}
