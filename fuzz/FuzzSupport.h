#pragma once
// What the fuzz targets share: a watchdog that stops a run taking too long (a program may loop
// for ever, which is the user's right), dialogs answered without being shown, and writes kept to
// the fuzzer's scratch folders by the kernel.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

// Confines the process's writes to the working folder and the folders in FUZZ_WRITABLE (aborts
// when the kernel cannot), creates the offscreen application, answers every dialog (yes and no by
// turns, a number for the input form) and starts the watchdog. name is the program's name.
void FuzzInitialize(const char* name);
// Writes bytes to path (aborts on failure: the fuzzer's own folder must be writable).
void FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size);
// Runs work with the watchdog armed: after limit the stop flag ends the run.
template <class Work>
void FuzzWithin(std::chrono::milliseconds limit, Work work);

void FuzzArm(std::chrono::milliseconds limit);
void FuzzDisarm();

template <class Work>
void FuzzWithin(std::chrono::milliseconds limit, Work work)
{
    FuzzArm(limit);
    work();
    FuzzDisarm();
}
