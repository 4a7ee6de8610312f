#pragma once
// Programs built from fuzz bytes: each byte picks one fragment from a vocabulary, so that the
// fuzzer reaches shapes that random bytes rarely spell (labels inside expressions, gotos into
// them, BASIC loop heads with lengths).
#include <cstddef>
#include <cstdint>
#include <string>

template <size_t N>
std::string FuzzFromFragments(const uint8_t* data, size_t size, const char* const (&fragments)[N])
{
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        text += fragments[data[i] % N];
        // The high bit decides between a blank and nothing, so fragments also run together.
        if (data[i] & 0x80) text += ' ';
    }
    return text;
}
