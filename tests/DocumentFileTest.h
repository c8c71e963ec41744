#pragma once

// Test fixture for the document's tests: a fresh folder per test, used also
// as the temporary folder of the saves, test data copied into it, files
// written as CR LF text, and what a save of a document writes.

#include <gtest/gtest.h>

#include <string>

#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg::test {

class DocumentFileTest : public ::testing::Test {
protected:
    // testdata/`name` ("config/full.ini").
    static std::string Data(const std::string& name) { return TestDataDir() + "/" + name; }

    // A copy of testdata/`name` in the test's folder, under its own base name.
    std::string Copy(const std::string& name) {
        const std::string path = dir_.File(name.substr(name.rfind('/') + 1));
        WriteFile(path, ReadFile(Data(name)));
        return path;
    }

    // `name` in the test's folder, holding `text` with every LF made CR LF.
    std::string Write(const std::string& name, const std::string& text) {
        std::string crlf;
        for (char c : text) {
            crlf += c == '\n' ? "\r\n" : std::string(1, c);
        }
        const std::string path = dir_.File(name);
        WriteFile(path, crlf);
        return path;
    }

    // What SaveCFG writes of `doc` into a file of its own (the document is
    // then bound to that file); `code` receives the save's result.
    std::string Saved(Configuration& doc, RETERROR* code = nullptr) {
        const std::string path = dir_.File("saved-" + std::to_string(++saves_) + ".ini");
        const RETERROR result = doc.SaveCFG(path.c_str());
        if (code != nullptr) {
            *code = result;
        } else {
            EXPECT_EQ(result, RE_SUCCESS) << doc.GetLastErrorText();
        }
        return ReadFile(path);
    }

    // Copies testdata/`name` into the test's folder as file_ and loads it
    // into doc_, which must load it without a code.
    void LoadCopy(const std::string& name) {
        file_ = Copy(name);
        ASSERT_EQ(doc_.LoadCFG(file_.c_str()), RE_SUCCESS);
    }

    // The file every save writes first.
    std::string TempFile() const { return dir_.File(PrivateTempFolderName() + "/Voz16.tmp"); }

    TempDir dir_;
    ScopedTempFolder tmp_{dir_.path()};
    int saves_ = 0;
    std::string file_;
    Configuration doc_;
};

}  // namespace knitcfg::test
