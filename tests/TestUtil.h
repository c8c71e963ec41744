#pragma once

// Helpers shared by the tests: a fresh temporary folder per test and whole-file
// reads and writes.

#include <string>

namespace knitcfg::test {

// A new, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& path() const { return path_; }
    // `name` inside the folder.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The folder of the repository's test data (testdata/).
std::string TestDataDir();

}  // namespace knitcfg::test
