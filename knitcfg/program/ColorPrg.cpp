#include "knitcfg/program/ColorPrg.h"

#include <utility>

#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/StepMotorDisColor.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/program/detail/ActuatorList.h"
#include "knitcfg/program/detail/ProgramSection.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(ColorPrg, ModelObject)

namespace {

// The room of each help text read, NUL included: longer values are cut.
constexpr unsigned kHelpRoom = 260;

// The kind classes in slot order.
const RuntimeClass* const* ColorKinds() {
    static const RuntimeClass* const kinds[detail::kKindSlots] = {
        DrumColor::GetThisClass(),         FingerColor::GetThisClass(),
        SplitterColor::GetThisClass(),     StepMotorColor::GetThisClass(),
        StepMotorDisColor::GetThisClass(), TriangleColor::GetThisClass(),
        SpeederColor::GetThisClass()};
    return kinds;
}

// The loader of LoadSection; `taken` as LoadEntries gives it.
detail::EntriesLoaded Load(ColorPrg& color, const char* section, const char* file,
                           std::vector<bool>* taken) {
    const bool readable = section != nullptr && file != nullptr;
    color.ID = readable ? detail::Low16(profile::GetInt(section, "ID", -1, file)) : -1;
    color.Plane = readable ? detail::Low16(profile::GetInt(section, "Plane", -1, file)) : -1;
    detail::ReadHelpText(section, "Help", kHelpRoom, file, &color.Help);
    detail::ReadHelpText(section, "HelpAbstract", kHelpRoom, file, &color.HelpAbstract);
    return detail::LoadEntries(color.Attuats, color.Prototypes, section, file, taken);
}

// The lines SaveColor writes for `color`, into `lines`. False when an
// actuator is of no color kind.
bool BuildLines(const ColorPrg& color, std::vector<std::string>* lines) {
    lines->reserve(color.Attuats.size() + 4);
    lines->push_back("ID=" + std::to_string(color.ID));
    lines->push_back("Plane=" + std::to_string(color.Plane));
    lines->push_back("HelpAbstract=" + EscapeNewLines(color.HelpAbstract.c_str()));
    lines->push_back("Help=" + EscapeNewLines(color.Help.c_str()));
    int counters[detail::kKindSlots] = {};
    for (const std::unique_ptr<Attuat>& actuator : color.Attuats) {
        int* counter = detail::ChooseSlot(actuator.get(), counters, ColorKinds());
        if (counter == nullptr) {
            return false;
        }
        lines->push_back(actuator->SaveStringAttuat(counter));
    }
    return true;
}

}  // namespace

ColorPrg::ColorPrg() : Prototypes(detail::ColorPrototypes()) {}

ColorPrg::ColorPrg(const ColorPrg& other)
    : ModelObject(other),
      ID(other.ID),
      Plane(other.Plane),
      HelpAbstract(other.HelpAbstract),
      Help(other.Help),
      Attuats(detail::CloneAll(other.Attuats)),
      Prototypes(other.Prototypes) {}

ColorPrg::~ColorPrg() {
    Attuats.clear();
    Prototypes.clear();
    detail::EmptyColorPrototypeTexts();
}

void ColorPrg::SetColor(const ColorPrg* source) {
    if (source == nullptr || source == this) {
        return;
    }
    Plane = source->Plane;
    HelpAbstract = source->HelpAbstract;
    Help = source->Help;
    Attuats = detail::CloneAll(source->Attuats);
    Prototypes = source->Prototypes;
}

RETERROR ColorPrg::LoadSection(const char* section, const char* file) {
    const detail::EntriesLoaded loaded = Load(*this, section, file, nullptr);
    return loaded.hadKeys ? loaded.lastCode : RE_EMPTY_COLOR;
}

RETERROR ColorPrg::SaveColor(const char* file) {
    return SaveColor(file, SaveMode::Rewrite);
}

RETERROR ColorPrg::SaveColor(const char* file, SaveMode mode) {
    const std::string section = detail::NumberedName("Color_", ID);
    std::vector<std::string> lines;
    const bool built = BuildLines(*this, &lines);
    // The texts now hold what a reader of the file will get back, so that
    // memory and file agree after the save.
    HelpAbstract = UnescapeNewLines(EscapeNewLines(HelpAbstract.c_str()).c_str());
    Help = UnescapeNewLines(EscapeNewLines(Help.c_str()).c_str());
    if (!built) {
        return RE_NOT_A_COLOR_ACTUATOR;
    }
    const detail::ScratchLines scratch = [&](std::vector<std::string>* scratchLines,
                                             std::vector<bool>* taken) {
        ColorPrg color;
        color.Prototypes = Prototypes;
        const bool whole = Load(color, section.c_str(), file, taken).whole;
        return BuildLines(color, scratchLines) && whole;
    };
    const bool written =
        detail::WriteProgramSection(section, lines, file, mode, Prototypes, scratch);
    if (mode == SaveMode::Preserve) {
        // The prototypes may have parsed the old entries into themselves: as
        // after the destruction of a loaded color, they keep no text of them.
        detail::EmptyColorPrototypeTexts();
    }
    return written ? RE_SUCCESS : RE_WRITE_SECTION;
}

void ColorPrg::AddSorted(Attuat* actuator) {
    detail::InsertSorted(Attuats, std::unique_ptr<Attuat>(actuator));
}

int ColorPrg::RemoveAttuat(Attuat* actuator) {
    // The caller owns the actuator from here on.
    return detail::Take(Attuats, actuator).release() != nullptr ? 1 : 0;
}

int* ColorPrg::ChooseAttuatIdx(const Attuat* actuator, int* counters) const {
    return detail::ChooseSlot(actuator, counters, ColorKinds());
}

int ColorPrg::GetListDrum(IndexList* list, short plane, short colorId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, colorId, &Attuat::AddListDrum);
}
int ColorPrg::GetListFinger(IndexList* list, short plane, short colorId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, colorId, &Attuat::AddListFinger);
}
int ColorPrg::GetListSplitter(IndexList* list, short plane, short colorId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, colorId, &Attuat::AddListSplitter);
}
int ColorPrg::GetListTriangle(IndexList* list, short plane, short colorId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, colorId, &Attuat::AddListTriangle);
}
int ColorPrg::GetListStepMotor(IndexList* list, short plane, short colorId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, colorId, &Attuat::AddListStepMotor);
}
int ColorPrg::GetListStepMotorDis(IndexList* list, short plane, short colorId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, colorId, &Attuat::AddListStepMotorDis);
}
int ColorPrg::GetListSpeeder(IndexList* list, short plane, short colorId) const {
    return detail::ListKind(Attuats, Plane, ID, list, plane, colorId, &Attuat::AddListSpeeder);
}

int ColorPrg::GetListColors(IndexList* list, short plane) const {
    return detail::ListOwnNumber(Plane, ID, list, plane);
}

short ColorPrg::GetStato(short id) const {
    const Attuat* actuator = GetAttuat(id);
    return actuator != nullptr ? actuator->GetStato() : kNoValue;
}

short ColorPrg::GetCaduta(short id) const {
    const Attuat* actuator = GetAttuat(id);
    return actuator != nullptr ? actuator->Caduta : kNoValue;
}

short ColorPrg::GetIdCaduta(short id) const {
    const Attuat* actuator = GetAttuat(id);
    return actuator != nullptr ? actuator->IdCaduta : kNoValue;
}

Attuat* ColorPrg::GetAttuat(short id) const {
    return detail::FindById(Attuats, id);
}

}  // namespace knitcfg
