#include "knitcfg/config/Protection.h"

#include <string>

#include "knitcfg/profile/Profile.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(Protection, ModelObject)

namespace {

constexpr const char* kSection = "Protection";
constexpr const char* kKey = "ConfigProtected";
// What a missing key reads as; a file that holds it counts as missing too.
constexpr int kMissing = -1;

}  // namespace

Protection::Protection() = default;
Protection::Protection(const Protection& other) = default;
Protection& Protection::operator=(const Protection& other) = default;
Protection::~Protection() = default;

void Protection::Set(int value) {
    flag_ = value != 0 ? 1 : 0;
}

int Protection::Get() const {
    return flag_ == 1 ? 1 : 0;
}

RETERROR Protection::Load(const char* path) {
    const int value = profile::GetInt(kSection, kKey, kMissing, path);
    if (value == kMissing) {
        return RE_NO_PROTECTION;
    }
    Set(value);
    return RE_SUCCESS;
}

RETERROR Protection::Save(const char* path) const {
    const std::string value = std::to_string(flag_);
    return profile::WriteString(kSection, kKey, value.c_str(), path) ? RE_SUCCESS
                                                                     : RE_WRITE_PROTECTION;
}

}  // namespace knitcfg
