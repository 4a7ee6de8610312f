#pragma once
// Runs one-line macro programs for the built-in tests and reads back what they produced: a number
// through set_zr_qty, a text through set_zr_str, or the text of the box a failure showed.
#include "tests/macro/program_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

// The value of a numeric expression; NaN (and a test failure) when the program showed a box.
double EvalNum(const std::string& expr, const std::string& setup = "");
// The value of a string expression.
std::string EvalStr(const std::string& expr, const std::string& setup = "");
// The first box the program showed ("" when none).
std::string FirstBox(const std::string& program);

// While it lives, the C library writes and reads numbers with a decimal comma: a German locale made
// with localedef into a folder of its own (LOCPATH), since a machine need not have one installed.
// The earlier locale comes back at its end.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool made = false;
    std::string why;  // what went wrong, when it was not made

private:
    QTemporaryDir folder_;
    std::string previousLocale_;
    const char* previousLocPath_ = nullptr;
    std::string previousLocPathValue_;
};
