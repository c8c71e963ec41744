#include "knitcfg/paths/DriveLetter.h"

namespace knitcfg {

namespace {

constexpr const char* kDriveMark = ":\\";

}  // namespace

std::string GetDriveLetter(const char* path) {
    if (path == nullptr) {
        return std::string();
    }
    const std::string text(path);
    const std::size_t at = text.find(kDriveMark);
    if (at == std::string::npos) {
        return std::string();
    }
    // At the very start there is no letter: the mark itself is the result.
    return text.substr(at == 0 ? 0 : at - 1, 2);
}

int SetDriveLetter(const char* drive, std::string& path) {
    const std::size_t at = path.find('\\');
    if (at == std::string::npos) {
        return 0;
    }
    path = std::string(drive != nullptr ? drive : "") + path.substr(at);
    return 1;
}

void DelDriveLetter(std::string& path) {
    const std::size_t at = path.find(kDriveMark);
    if (at != std::string::npos) {
        path.erase(0, at + 1);
    }
}

}  // namespace knitcfg
