#pragma once
// Files for the pad tests: the fixtures in tests/data/pads, and whole files read and written as bytes.
#include "platform/vcl/Strings.h"

#include <fstream>
#include <sstream>

namespace PadTestFiles {

inline AnsiString Fixture(const AnsiString& name)
{
    const AnsiString here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../data/pads/" + name;
}

inline AnsiString Read(const AnsiString& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void Write(const AnsiString& path, const AnsiString& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace PadTestFiles
