// The document's line steps: LoadLines, SaveLines, CreateLine and the line
// list.

#include <cstdint>
#include <memory>
#include <new>

#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/config/detail/ProgramSections.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

RETERROR Configuration::LoadLines() {
    // The number of planes loaded, handed to each line (which does not use it).
    const short planes = GetPlanesCount();
    profile::Batch batch(pathName_.c_str());
    const bool listed = detail::ForEachSection(pathName_.c_str(), "Line_", [&](const char* name) {
        // The line files itself into the list it is given. Given a list of
        // its own, its check that it is not filed already costs nothing
        // (against the document's list it would walk every line loaded so
        // far); it then goes to the end of the document's list, where it
        // would have filed itself.
        std::vector<std::unique_ptr<LinePrg>> filed;
        auto line = std::make_unique<LinePrg>();
        line.release()->LoadSection(name, pathName_.c_str(), planes, &filed);
        for (std::unique_ptr<LinePrg>& each : filed) {
            lines_.push_back(std::move(each));
        }
    });
    return listed ? RE_SUCCESS : RE_NO_SECTIONS;
}

RETERROR Configuration::SaveLines() {
    const SaveMode mode = saveMode_;
    profile::Batch batch(pathName_.c_str());
    if (mode == SaveMode::Preserve) {
        // A line section is the document's when the document writes a section
        // of its name, or when a load would make of it a line that a save
        // writes (plane 1 or below, or no number, which means plane 1): the
        // section of such a line that is no longer held goes. A line of a
        // higher plane is never written, so its section stays.
        detail::RemoveSectionsNotWritten(
            pathName_.c_str(), "Line_", lines_,
            [](const LinePrg& line) {
                return line.Plane > 1 ? std::string() : detail::NumberedName("Line_", line.ID);
            },
            [](const char* name, const char* file) {
                if (detail::Low16(profile::GetInt(name, "ID", -1, file)) < 0) {
                    return true;
                }
                return detail::Low16(profile::GetInt(name, "Plane", -1, file)) <= 1;
            });
    }
    return detail::SaveEach(
        lines_, pathName_.c_str(),
        [mode](const LinePrg& line, const char* file) { return line.SaveLine(file, mode); });
}

RETERROR Configuration::CreateLine(int index, int plane) {
    // Unsigned arithmetic: any two ints give a number, kept as 16 bits.
    const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(index) +
                                                  (static_cast<std::uint32_t>(plane) - 1u) * 10u);
    try {
        auto line = std::make_unique<LinePrg>();
        line->Plane = detail::Low16(plane);
        line->ID = detail::Low16(number);
        auto at = lines_.begin();
        while (at != lines_.end() && !((*at)->Plane == line->Plane && (*at)->ID > line->ID)) {
            ++at;
        }
        lines_.insert(at, std::move(line));
    } catch (const std::bad_alloc&) {
        return RE_NO_SECTIONS;
    }
    return RE_SUCCESS;
}

const std::vector<std::unique_ptr<LinePrg>>& Configuration::Lines() const {
    return lines_;
}

}  // namespace knitcfg
