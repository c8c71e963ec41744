#pragma once

#include <memory>
#include <string>
#include <vector>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/SaveMode.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// The actuators of one machine line of a plane, sorted by feed: the
// line-side twin of ColorPrg, with the line kinds, in the section
// "Line_NNN". A plain class: callers read and write the fields directly. The
// section format, the merge rules and every result code: docs/program.md.
class KNITCFG_API LinePrg : public ModelObject {
    KNITCFG_DECLARE_CLASS(LinePrg)

public:
    // ID -32768, Plane 0, empty help, no actuators, the seven line
    // prototypes.
    LinePrg();
    // Clones every actuator of `other`; shares its prototypes.
    LinePrg(const LinePrg& other);
    LinePrg& operator=(const LinePrg&) = delete;
    // Destroys the actuators; the shared prototypes stay.
    ~LinePrg() override;

    // Adds what `section` of `file` holds, without emptying the line first,
    // then files the line at the end of `lines`, which owns it from then on
    // (made with new); a null `lines`, or one that holds the line, leaves
    // ownership as it was. Without a non-negative "ID" the line takes the
    // number of the section name and plane 1. `planes` is not used. Returns
    // RE_LINE_BAD_PLANE (25) when "Plane" is missing or not positive, else
    // RE_LINE_NO_HELP (26) without "Help", else RE_EMPTY_LINE (27) for a
    // section without keys, else 0; filed whatever the result.
    RETERROR LoadSection(const char* section, const char* file, short planes,
                         std::vector<std::unique_ptr<LinePrg>>* lines);

    // Replaces the section "Line_NNN" of `file` with the actuator entries, in
    // one write; a line of a plane above 1 is not written (0). Returns
    // RE_EMPTY_LINE (27), writing nothing, when an actuator is of no line
    // kind; RE_WRITE_SECTION (38) when the write is refused; else 0.
    RETERROR SaveLine(const char* file) const;
    // SaveLine(file); with Preserve, entries of the section that a load would
    // not take stay after the line's own, and a section that already means
    // what would be written is not touched.
    RETERROR SaveLine(const char* file, SaveMode mode) const;

    // As ColorPrg::AddSorted: owned by the line from then on.
    void AddSorted(Attuat* actuator);

    // As ColorPrg::RemoveAttuat: 1 and the caller owns it, or 0.
    int RemoveAttuat(Attuat* actuator);

    // The first actuator whose Id is `id`, or null. Owned by the line.
    Attuat* GetAttuat(short id) const;

    // The kind queries: when `plane` is -1 or Plane and `lineId` is -1 or ID,
    // append the Id of each actuator of the kind that `list` lacks, in list
    // order. Return 1.
    int GetListDrum(IndexList* list, short plane, short lineId) const;
    int GetListFinger(IndexList* list, short plane, short lineId) const;
    int GetListSplitter(IndexList* list, short plane, short lineId) const;
    int GetListTriangle(IndexList* list, short plane, short lineId) const;
    int GetListStepMotor(IndexList* list, short plane, short lineId) const;
    int GetListStepMotorDis(IndexList* list, short plane, short lineId) const;
    int GetListSpeeder(IndexList* list, short plane, short lineId) const;

    // Appends ID when `plane` is -1 or Plane and `list` lacks it. Returns 1.
    int GetListLines(IndexList* list, short plane) const;

    // When `plane` is -1 or Plane, appends ID once per actuator whose Id is
    // `id`, duplicates included. Returns 1.
    int GetListLineAttuat(IndexList* list, short id, short plane) const;

    short ID = kNoValue;  // the line number; names the section
    short Plane = 0;      // the plane of the line
    std::string Help;     // help text; line breaks as CR LF
    // The line's actuators, sorted by Caduta; owned.
    std::vector<std::unique_ptr<Attuat>> Attuats;
    // The shared line prototypes in recognition order (DrumLine, FingerLine,
    // SplitterLine, TriangleLine, StepMotorLine, StepMotorDisLine,
    // SpeederLine); not owned.
    std::vector<Attuat*> Prototypes;

protected:
    // The kind counter of `actuator` among the seven at `counters` (DrumLine
    // 0, FingerLine 1, SplitterLine 2, StepMotorLine 3, StepMotorDisLine 4,
    // TriangleLine 5, SpeederLine 6); null for any other class.
    int* ChooseAttuatIdx(const Attuat* actuator, int* counters) const;
};

}  // namespace knitcfg
