#include "knitcfg/program/BlockPlane.h"

#include <cstring>
#include <string>

#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/program/PlaneText.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(BlockPlane, ModelObject)

namespace {

// The room through which a block entry is read, NUL included.
constexpr unsigned kEntryRoom = 256;

}  // namespace

BlockPlane::BlockPlane() = default;

BlockPlane::BlockPlane(const BlockPlane& other)
    : ModelObject(other), Number(other.Number), Parameter(other.Parameter), Values(other.Values) {}

BlockPlane::~BlockPlane() = default;

BlockPlane* BlockPlane::Clone() const {
    return new BlockPlane(*this);
}

RETERROR BlockPlane::Load(const char* section, const char* key, const char* file) {
    // A null key would list the section's keys instead of reading one.
    if (section == nullptr || key == nullptr || file == nullptr) {
        return RE_NO_BLOCK;
    }
    char buffer[kEntryRoom];
    if (profile::GetString(section, key, "", buffer, sizeof buffer, file) == 0) {
        return RE_NO_BLOCK;
    }

    // "<number>, <parameter>, <values>": each comma right after its number.
    int number = 0;
    const char* p = detail::ReadNumber(buffer, &number);
    if (p == nullptr) {
        return RE_SUCCESS;
    }
    Number = entry::Low16(number);
    int parameter = 0;
    p = *p == ',' ? detail::ReadNumber(p + 1, &parameter) : nullptr;
    if (p == nullptr) {
        return RE_SUCCESS;
    }
    Parameter = entry::Low16(parameter);
    if (*p != ',') {
        return RE_SUCCESS;
    }
    p = detail::SkipBlanks(p + 1);
    // The values part ends at an apostrophe (or a line feed, which a value
    // read from the file cannot hold).
    const std::string rest(p, std::strcspn(p, "'\n"));
    if (rest.empty()) {
        return RE_SUCCESS;
    }
    // The values go to positions 0, 1, 2 and so on of the list as it
    // stands: a list that was longer keeps its later values.
    const char* part = rest.c_str();
    for (std::size_t at = 0;; ++at) {
        // A part that is no number still takes its place: the values after
        // it keep their positions in the list.
        int value = 0;
        detail::ReadNumber(part, &value);
        if (at < Values.size()) {
            Values[at] = entry::Low16(value);
        } else {
            Values.push_back(entry::Low16(value));
        }
        const char* comma = std::strchr(part, ',');
        if (comma == nullptr || comma[1] == '\0') {
            break;
        }
        part = comma + 1;
    }
    return RE_SUCCESS;
}

RETERROR BlockPlane::SaveBlock(const char* section, const char* file) const {
    if (section == nullptr || file == nullptr) {
        return RE_WRITE_BLOCK;
    }
    std::string value = std::to_string(Number) + ", " + std::to_string(Parameter);
    for (short each : Values) {
        value += ", ";
        value += std::to_string(each);
    }
    const std::string key = NumberedName("Block_", Number);
    return profile::WriteString(section, key.c_str(), value.c_str(), file) ? RE_SUCCESS
                                                                           : RE_WRITE_BLOCK;
}

}  // namespace knitcfg
