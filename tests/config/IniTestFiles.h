#pragma once
// Scratch INI files for the settings tests: each test gets a folder of its own that is removed
// afterwards, and files are written and read back as raw bytes.
#include "platform/vcl/Strings.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

class IniFolder {
public:
    IniFolder() { EXPECT_TRUE(dir_.isValid()); }
    // The path of a file in the folder (not created).
    AnsiString Path(const AnsiString& name = "Plumo.INI") const { return dir_.path().toStdString() + "/" + name; }
    AnsiString Write(const AnsiString& bytes, const AnsiString& name = "Plumo.INI") const
    {
        const AnsiString path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    QTemporaryDir dir_;
};

inline AnsiString ReadAll(const AnsiString& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The tests/data folder: PLUMO_TEST_DATA when ctest runs the tests, else beside this file.
inline AnsiString TestData(const AnsiString& name)
{
    const char* env = std::getenv("PLUMO_TEST_DATA");
    AnsiString base = env ? env : AnsiString(__FILE__).substr(0, AnsiString(__FILE__).rfind('/')) + "/../data";
    return base + "/" + name;
}
