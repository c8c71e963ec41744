#include "knitcfg/program/LinePrg.h"

#include <cstring>
#include <utility>

#include "knitcfg/actuators/EntryParser.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/Prototypes.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/program/ActuatorList.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(LinePrg, ModelObject)

namespace {

// The room of the help text read, NUL included: longer values are cut.
constexpr unsigned kHelpRoom = 512;

// The length of "Line_", after which a section name carries the line number.
constexpr std::size_t kNamePrefixLength = 5;

// The kind classes in slot order.
const RuntimeClass* const* LineKinds() {
    static const RuntimeClass* const kinds[detail::kKindSlots] = {
        DrumLine::GetThisClass(),         FingerLine::GetThisClass(),
        SplitterLine::GetThisClass(),     StepMotorLine::GetThisClass(),
        StepMotorDisLine::GetThisClass(), TriangleLine::GetThisClass(),
        SpeederLine::GetThisClass()};
    return kinds;
}

// The number after the first five characters of a section name, read as
// "%d" reads it; false when the name is shorter or holds no number there.
bool NumberFromName(const char* section, short* number) {
    if (section == nullptr || std::strlen(section) < kNamePrefixLength) {
        return false;
    }
    const entry::ScanResult scan = entry::Scan(section + kNamePrefixLength, "%d", 0);
    if (scan.items.empty()) {
        return false;
    }
    *number = entry::Low16(scan.items.front().number);
    return true;
}

}  // namespace

LinePrg::LinePrg() : Prototypes(LinePrototypes()) {}

LinePrg::LinePrg(const LinePrg& other)
    : ModelObject(other),
      ID(other.ID),
      Plane(other.Plane),
      Help(other.Help),
      Attuats(detail::CloneAll(other.Attuats)),
      Prototypes(other.Prototypes) {}

LinePrg::~LinePrg() {
    Attuats.clear();
    Prototypes.clear();
}

RETERROR LinePrg::LoadSection(const char* section, const char* file, short /*planes*/,
                              std::vector<std::unique_ptr<LinePrg>>* lines) {
    const bool readable = section != nullptr && file != nullptr;
    RETERROR result = RE_SUCCESS;
    ID = readable ? entry::Low16(profile::GetInt(section, "ID", -1, file)) : -1;
    const bool numberMissing = ID < 0;
    Plane = readable ? entry::Low16(profile::GetInt(section, "Plane", -1, file)) : -1;
    if (Plane <= 0) {
        result = RE_LINE_BAD_PLANE;
    }
    if (!detail::ReadHelpText(section, "Help", kHelpRoom, file, &Help) && result == RE_SUCCESS) {
        result = RE_LINE_NO_HELP;
    }
    // What the actuators report does not change the line's result.
    const detail::EntriesLoaded loaded = detail::LoadEntries(Attuats, Prototypes, section, file);
    if (!loaded.hadKeys && result == RE_SUCCESS) {
        result = RE_EMPTY_LINE;
    }

    if (lines != nullptr) {
        bool filed = false;
        for (const std::unique_ptr<LinePrg>& line : *lines) {
            filed = filed || line.get() == this;
        }
        // Filed twice, the line would be destroyed twice.
        if (!filed) {
            lines->emplace_back(this);
        }
    }

    if (numberMissing) {
        // A section as SaveLine writes it has no "ID": its name numbers it,
        // and such sections are only written for plane 1. A name without a
        // number leaves the negative ID read above, which saves and reads
        // back as itself.
        NumberFromName(section, &ID);
        Plane = 1;
    }
    return result;
}

RETERROR LinePrg::SaveLine(const char* file) const {
    return SaveLine(file, SaveMode::Rewrite);
}

RETERROR LinePrg::SaveLine(const char* file, SaveMode mode) const {
    const std::string section = NumberedName("Line_", ID);
    if (Plane > 1) {
        return RE_SUCCESS;
    }
    std::vector<std::string> lines;
    lines.reserve(Attuats.size());
    int counters[detail::kKindSlots] = {};
    for (const std::unique_ptr<Attuat>& actuator : Attuats) {
        int* counter = ChooseAttuatIdx(actuator.get(), counters);
        if (counter == nullptr) {
            return RE_EMPTY_LINE;
        }
        lines.push_back(actuator->SaveStringAttuat(counter));
    }
    return detail::WriteProgramSection(section, lines, file, mode, Prototypes) ? RE_SUCCESS
                                                                               : RE_WRITE_SECTION;
}

void LinePrg::AddSorted(Attuat* actuator) {
    detail::InsertSorted(Attuats, std::unique_ptr<Attuat>(actuator));
}

int LinePrg::RemoveAttuat(Attuat* actuator) {
    // The caller owns the actuator from here on.
    return detail::Take(Attuats, actuator).release() != nullptr ? 1 : 0;
}

Attuat* LinePrg::GetAttuat(short id) const {
    return detail::FindById(Attuats, id);
}

int* LinePrg::ChooseAttuatIdx(const Attuat* actuator, int* counters) const {
    return detail::ChooseSlot(actuator, counters, LineKinds());
}

int LinePrg::GetListDrum(IndexList* list, short plane, short lineId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, lineId, &Attuat::AddListDrum);
}
int LinePrg::GetListFinger(IndexList* list, short plane, short lineId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, lineId, &Attuat::AddListFinger);
}
int LinePrg::GetListSplitter(IndexList* list, short plane, short lineId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, lineId, &Attuat::AddListSplitter);
}
int LinePrg::GetListTriangle(IndexList* list, short plane, short lineId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, lineId, &Attuat::AddListTriangle);
}
int LinePrg::GetListStepMotor(IndexList* list, short plane, short lineId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, lineId, &Attuat::AddListStepMotor);
}
int LinePrg::GetListStepMotorDis(IndexList* list, short plane, short lineId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, lineId, &Attuat::AddListStepMotorDis);
}
int LinePrg::GetListSpeeder(IndexList* list, short plane, short lineId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, lineId, &Attuat::AddListSpeeder);
}

int LinePrg::GetListLines(IndexList* list, short plane) const {
    return detail::ListOwnNumber(Plane, ID, list, plane);
}

int LinePrg::GetListLineAttuat(IndexList* list, short id, short plane) const {
    if (list == nullptr || (plane != kAny && plane != Plane)) {
        return 1;
    }
    for (const std::unique_ptr<Attuat>& actuator : Attuats) {
        if (actuator != nullptr && actuator->Id == id) {
            list->push_back(ID);
        }
    }
    return 1;
}

}  // namespace knitcfg
