#pragma once
// Runs one-line macro programs for the built-in tests and reads back what they produced: a number
// through set_zr_qty, a text through set_zr_str, or the text of the box a failure showed.
#include "tests/macro/program_support.h"

#include <gtest/gtest.h>
#include <string>

// The value of a numeric expression; NaN (and a test failure) when the program showed a box.
double EvalNum(const std::string& expr, const std::string& setup = "");
// The value of a string expression.
std::string EvalStr(const std::string& expr, const std::string& setup = "");
// The first box the program showed ("" when none).
std::string FirstBox(const std::string& program);
