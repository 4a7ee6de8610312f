#include "tests/app/quit_guard.h"

#include "app/MainProg.h"

#include <gtest/gtest.h>

namespace {

int exits = 0;

[[maybe_unused]] const bool guarded = [] {
    TfrmMainProg::QuitProgram = [] {
        ++exits;
        ADD_FAILURE() << "Exit went through to the end of the program";
    };
    return true;
}();

}  // namespace

int ExitsReached() { return exits; }
