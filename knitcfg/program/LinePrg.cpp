#include "knitcfg/program/LinePrg.h"

#include <cstring>
#include <utility>

#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/program/detail/ActuatorList.h"
#include "knitcfg/program/detail/ProgramSection.h"

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
    *number = detail::Low16(scan.items.front().number);
    return true;
}

// The loader of LoadSection, but for the filing; `taken` as LoadEntries
// gives it, `whole` as EntriesLoaded::whole.
RETERROR Load(LinePrg& line, const char* section, const char* file, std::vector<bool>* taken,
              bool* whole) {
    const bool readable = section != nullptr && file != nullptr;
    RETERROR result = RE_SUCCESS;
    line.ID = readable ? detail::Low16(profile::GetInt(section, "ID", -1, file)) : -1;
    const bool numberMissing = line.ID < 0;
    line.Plane = readable ? detail::Low16(profile::GetInt(section, "Plane", -1, file)) : -1;
    if (line.Plane <= 0) {
        result = RE_LINE_BAD_PLANE;
    }
    if (!detail::ReadHelpText(section, "Help", kHelpRoom, file, &line.Help) &&
        result == RE_SUCCESS) {
        result = RE_LINE_NO_HELP;
    }
    // What the actuators report does not change the line's result.
    const detail::EntriesLoaded loaded =
        detail::LoadEntries(line.Attuats, line.Prototypes, section, file, taken);
    if (!loaded.hadKeys && result == RE_SUCCESS) {
        result = RE_EMPTY_LINE;
    }

    if (numberMissing) {
        // A section as SaveLine writes it has no "ID": its name numbers it,
        // and such sections are only written for plane 1. A name without a
        // number leaves the negative ID read above, which saves and reads
        // back as itself.
        NumberFromName(section, &line.ID);
        line.Plane = 1;
    }
    *whole = loaded.whole;
    return result;
}

// The lines SaveLine writes for `line`, into `lines`. False when an
// actuator is of no line kind.
bool BuildLines(const LinePrg& line, std::vector<std::string>* lines) {
    lines->reserve(line.Attuats.size());
    int counters[detail::kKindSlots] = {};
    for (const std::unique_ptr<Attuat>& actuator : line.Attuats) {
        int* counter = detail::ChooseSlot(actuator.get(), counters, LineKinds());
        if (counter == nullptr) {
            return false;
        }
        lines->push_back(actuator->SaveStringAttuat(counter));
    }
    return true;
}

}  // namespace

LinePrg::LinePrg() : Prototypes(detail::LinePrototypes()) {}

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
    bool whole = true;
    const RETERROR result = Load(*this, section, file, nullptr, &whole);
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
    return result;
}

RETERROR LinePrg::SaveLine(const char* file) const {
    return SaveLine(file, SaveMode::Rewrite);
}

RETERROR LinePrg::SaveLine(const char* file, SaveMode mode) const {
    const std::string section = detail::NumberedName("Line_", ID);
    if (Plane > 1) {
        return RE_SUCCESS;
    }
    std::vector<std::string> lines;
    if (!BuildLines(*this, &lines)) {
        return RE_EMPTY_LINE;
    }
    const detail::ScratchLines scratch = [&](std::vector<std::string>* scratchLines,
                                             std::vector<bool>* taken) {
        LinePrg line;
        line.Prototypes = Prototypes;
        bool whole = true;
        static_cast<void>(Load(line, section.c_str(), file, taken, &whole));
        return BuildLines(line, scratchLines) && whole;
    };
    return detail::WriteProgramSection(section, lines, file, mode, Prototypes, scratch)
               ? RE_SUCCESS
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
