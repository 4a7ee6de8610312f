#pragma once
// Exit ends the program at once. In the test program an Exit that gets through (a question that
// gave the pad up when it should have kept it) would end the whole run with the tests after it
// unrun; here it is counted instead and fails the test that reached it. A test that must see the
// program end does so in a death test's child, after putting the real end back
// (TfrmMainProg::QuitProgram = nullptr).

// How often Exit went through to the program's end since the test program started.
int ExitsReached();
