#include "TestUtil.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace knitcfg::test {

namespace fs = std::filesystem;

std::string PrivateTempFolderName() {
#ifdef _WIN32
    return "knitcfg";
#else
    return "knitcfg-" + std::to_string(::geteuid());
#endif
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const fs::path base = fs::temp_directory_path();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            base / ("knitcfg-test-" +
                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                    "-" + std::to_string(counter.fetch_add(1)));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore permissions that a test may have taken away, then remove.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const {
    return (fs::path(path_) / name).string();
}

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
#endif
}

ScopedTempFolder::ScopedTempFolder(const std::string& path)
    : saved_{{"TMPDIR", false, {}}, {"TMP", false, {}}, {"TEMP", false, {}}} {
    for (Saved& s : saved_) {
        if (const char* v = std::getenv(s.name)) {
            s.had = true;
            s.value = v;
        }
    }
    Set(path);
}

void ScopedTempFolder::Set(const std::string& path) {
    for (const Saved& s : saved_) {
        SetEnv(s.name, path.c_str());
    }
}

ScopedTempFolder::~ScopedTempFolder() {
    for (const Saved& s : saved_) {
        SetEnv(s.name, s.had ? s.value.c_str() : nullptr);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string TestDataDir() {
    return KNITCFG_TESTDATA_DIR;
}

}  // namespace knitcfg::test
