#pragma once

// Test helper: a fresh folder per test, used also as the temporary folder of
// the saves, and files written as CR LF text.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "TestUtil.h"

namespace knitcfg::test {

class DesignFileTest : public ::testing::Test {
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

    // A copy of testdata/designs/`name` in the test's folder.
    std::string Copy(const std::string& name) {
        const std::string path = dir_.File(name);
        WriteFile(path, ReadFile(Data(name)));
        return path;
    }

    static std::string Data(const std::string& name) { return TestDataDir() + "/designs/" + name; }

    TempDir dir_;
    ScopedTempFolder tmp_{dir_.path()};
};

}  // namespace knitcfg::test
