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

// Points the process's temporary folder (TMPDIR; TMP and TEMP on Windows) at
// `path` while the object lives, then restores what was there.
class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::string& path);
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;
    ~ScopedTempFolder();

    // Points it somewhere else for the rest of the object's life.
    void Set(const std::string& path);

private:
    struct Saved {
        const char* name;
        bool had;
        std::string value;
    };
    Saved saved_[3];
};

// The name of this user's own folder for the saves' temporary files, under
// the temporary folder: "knitcfg-<user id>" ("knitcfg" on Windows).
std::string PrivateTempFolderName();

// Sets (or, with a null value, removes) an environment variable.
void SetEnv(const char* name, const char* value);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The folder of the repository's test data (testdata/).
std::string TestDataDir();

}  // namespace knitcfg::test
