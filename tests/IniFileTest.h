#pragma once

// Test fixtures: a fresh folder per test, used also as the temporary folder
// of the saves, and configuration files written into it as CR LF text.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "IniText.h"
#include "TestUtil.h"

namespace knitcfg::test {

class IniFileTest : public ::testing::Test {
protected:
    // The lines joined with CR LF, each line ended.
    static std::string Text(std::initializer_list<std::string> lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        return text;
    }

    // `name` in the test's folder, holding `lines`.
    std::string Write(const std::string& name, std::initializer_list<std::string> lines) {
        const std::string path = dir_.File(name);
        WriteFile(path, Text(lines));
        return path;
    }

    // `name` in the test's folder, holding `text` (LF line ends, stored as
    // CR LF).
    std::string Ini(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        WriteFile(path, Crlf(text));
        return path;
    }

    TempDir dir_;
    ScopedTempFolder tmp_{dir_.path()};
};

// For the design tests: the files of testdata/designs/.
class DesignFileTest : public IniFileTest {
protected:
    // A copy of testdata/designs/`name` in the test's folder.
    std::string Copy(const std::string& name) {
        const std::string path = dir_.File(name);
        WriteFile(path, ReadFile(Data(name)));
        return path;
    }

    static std::string Data(const std::string& name) { return TestDataDir() + "/designs/" + name; }
};

}  // namespace knitcfg::test
