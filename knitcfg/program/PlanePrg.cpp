#include "knitcfg/program/PlanePrg.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>
#include <utility>

#include "knitcfg/actuators/EntryParser.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/FirstCode.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/program/ActuatorList.h"
#include "knitcfg/program/PlaneText.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(PlanePrg, ModelObject)

namespace {

constexpr const char* kPlanesSection = "ColorPlanes";

// The room through which a plane entry is read, NUL included, and what a
// missing entry reads as.
constexpr unsigned kEntryRoom = 512;
constexpr const char* kMissingEntry = "0, 0, 0";

// The room of the description of a plane section, NUL included.
constexpr unsigned kDescriptionRoom = 8192;

// The length of "Plane_", after which a plane section's name carries the
// plane number.
constexpr std::size_t kNamePrefixLength = 6;

// The number after the first six characters of a section name, read as "%d"
// reads it, as 16 bits; -1 when the name is shorter or holds no number there.
short NumberInName(const char* section) {
    int number = 0;
    if (section == nullptr || std::strlen(section) < kNamePrefixLength ||
        detail::ReadNumber(section + kNamePrefixLength, &number) == nullptr) {
        return -1;
    }
    return entry::Low16(number);
}

}  // namespace

PlanePrg::PlanePrg() = default;

PlanePrg::PlanePrg(const PlanePrg& other)
    : ModelObject(other),
      Number(other.Number),
      NumberOfLines(other.NumberOfLines),
      StartBlock(other.StartBlock),
      Description(other.Description),
      Priority(other.Priority) {
    Blocks.reserve(other.Blocks.size());
    for (const std::unique_ptr<BlockPlane>& block : other.Blocks) {
        if (block != nullptr) {
            Blocks.emplace_back(block->Clone());
        }
    }
}

PlanePrg::~PlanePrg() = default;

void PlanePrg::Load(const char* key, const char* file) {
    char buffer[kEntryRoom];
    if (key != nullptr && file != nullptr) {
        profile::GetString(kPlanesSection, key, kMissingEntry, buffer, sizeof buffer, file);
    } else {
        // A null key would list the section's keys: read it as a missing entry.
        std::strcpy(buffer, kMissingEntry);
    }
    // "<number>, <description>, <priority>"
    int number = 0;
    const char* p = detail::ReadNumber(buffer, &number);
    if (p == nullptr) {
        return;
    }
    Number = entry::Low16(number);
    if (*p != ',') {
        return;
    }
    p = detail::SkipBlanks(p + 1);
    const char* comma = std::strchr(p, ',');
    // An empty description is taken too: SavePlane writes one as "1, , 0",
    // which must read back with its priority.
    Description.assign(p, comma != nullptr ? static_cast<std::size_t>(comma - p) : std::strlen(p));
    int priority = 0;
    if (comma != nullptr && detail::ReadNumber(comma + 1, &priority) != nullptr) {
        Priority = entry::Low16(priority);
    }
}

RETERROR PlanePrg::SavePlane(const char* file) const {
    if (file == nullptr) {
        return RE_WRITE_PLANE;
    }
    const std::string key = NumberedName("Plane_", Number);
    const std::string value =
        std::to_string(Number) + ", " + Description + ", " + std::to_string(Priority);
    return profile::WriteString(kPlanesSection, key.c_str(), value.c_str(), file) ? RE_SUCCESS
                                                                                  : RE_WRITE_PLANE;
}

RETERROR PlanePrg::LoadSection(const char* section, const char* file) {
    const bool readable = section != nullptr && file != nullptr;
    const auto readShort = [&](const char* key) -> short {
        return readable ? entry::Low16(profile::GetInt(section, key, -1, file)) : -1;
    };
    detail::FirstCode result;
    // The plane's number is the one its author wrote in the section's name,
    // the name under which a save writes the plane back ("Plane_001" is
    // plane 1); colors and lines name their plane by it.
    Number = NumberInName(section);
    result.Check(Number > 0, RE_EMPTY_COLOR);
    NumberOfLines = readShort("NumberOfLines");
    result.Check(NumberOfLines > 0, RE_BAD_NUMBER_OF_LINES);
    StartBlock = readShort("StartBlock");
    result.Check(StartBlock >= 0, RE_BAD_START_BLOCK);
    Priority = readShort("Priority");
    result.Check(Priority >= 0, RE_NEGATIVE_PRIORITY);
    result.Check(detail::ReadHelpText(section, "Description", kDescriptionRoom, file, &Description),
                 RE_NO_DESCRIPTION);
    if (!readable) {
        return result.Get();
    }

    std::vector<char> names(detail::kKeyListRoom);
    profile::GetString(section, nullptr, "", names.data(), detail::kKeyListRoom, file);
    // The numbers held, so that each entry is checked at once, not by a walk
    // of the blocks read so far.
    std::unordered_set<short> held;
    for (const std::unique_ptr<BlockPlane>& block : Blocks) {
        if (block != nullptr) {
            held.insert(block->Number);
        }
    }
    detail::ForEachNameWithPrefix(names.data(), "Block_", [&](const char* key) {
        auto block = std::make_unique<BlockPlane>();
        // A block whose entry is empty is still added, numbered as made.
        static_cast<void>(block->Load(section, key, file));
        if (held.insert(block->Number).second) {
            Blocks.push_back(std::move(block));
        }
    });
    return result.Get();
}

BlockPlane* PlanePrg::GetBlock(short number) const {
    for (const std::unique_ptr<BlockPlane>& block : Blocks) {
        if (block != nullptr && block->Number == number) {
            return block.get();
        }
    }
    return nullptr;
}

int PlanePrg::AddBlock(int number, int parameter, const IndexList* values) {
    try {
        auto block = std::make_unique<BlockPlane>();
        block->Number = entry::Low16(number);
        block->Parameter = entry::Low16(parameter);
        if (values != nullptr) {
            block->Values = *values;
        }
        Blocks.push_back(std::move(block));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int PlanePrg::RemoveBlock(short number) {
    const auto it = std::find_if(Blocks.begin(), Blocks.end(),
                                 [number](const std::unique_ptr<BlockPlane>& block) {
                                     return block != nullptr && block->Number == number;
                                 });
    if (it == Blocks.end()) {
        return 0;
    }
    Blocks.erase(it);
    return 1;
}

}  // namespace knitcfg
