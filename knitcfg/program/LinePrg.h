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

// The actuators present on one machine line of a plane, sorted by feed: the
// line-side twin of ColorPrg, with the line actuator kinds. Its section is
// "Line_NNN" ("%3.3d" of ID). A plain class: callers read and write the
// fields directly.
//
// The section as SaveLine writes it holds the actuator entries only (no
// "ID", "Plane" or "Help"), each kind numbered from 000 in list order:
//   [Line_003]
//   Drum_000=4, 3, 3
//   Finger_000=9, 5, 5
// Such a section reads back as a line of plane 1 numbered from its name.
class KNITCFG_API LinePrg : public ModelObject {
    KNITCFG_DECLARE_CLASS(LinePrg)

public:
    // ID -32768, Plane 0, empty help, no actuators, the seven line
    // prototypes.
    LinePrg();
    // Copies ID, Plane and Help; the actuator list gets a Clone of each of
    // `other`'s actuators in order; the prototype references are shared.
    LinePrg(const LinePrg& other);
    LinePrg& operator=(const LinePrg&) = delete;
    // Destroys the actuators and empties both lists; the shared prototypes
    // are left alone.
    ~LinePrg() override;

    // Fills the line from `section` of `file`, without emptying it first,
    // then files the line at the end of `lines`, which owns it from then on:
    // the line must have been made with new and be owned by nobody else. A
    // null `lines`, or a list that holds the line already, leaves ownership
    // as it was. `planes` is not used.
    //  - ID from "ID" (low 16 bits; -1 when missing); Plane from "Plane";
    //  - Help from "Help" (read through 512 characters, backslash-n turned
    //    into CR LF) when not empty; else it is kept;
    //  - the keys merge into the listed actuators by identifier or make new
    //    ones through the line prototypes, as ColorPrg::LoadSection does;
    //  - when ID is missing or negative, ID becomes the number that follows
    //    the first five characters of the section name ("Line_012" gives
    //    12) and Plane becomes 1. A name without such a number leaves the
    //    negative ID that was read.
    // Returns RE_LINE_BAD_PLANE (25) when "Plane" is missing or, as 16 bits,
    // not positive (so for every section that SaveLine writes); else
    // RE_LINE_NO_HELP (26) when "Help" is missing or empty; else
    // RE_EMPTY_LINE (27) when the section has no keys; else 0. The codes of
    // the actuator operations play no part. The line keeps what it could
    // read and is filed whatever the result.
    RETERROR LoadSection(const char* section, const char* file, short planes,
                         std::vector<std::unique_ptr<LinePrg>>* lines);

    // Writes the actuator entries as the whole section "Line_NNN" of `file`,
    // in one write that replaces every key the section held (a line without
    // actuators writes an empty section). A line of a plane above 1 is not
    // written: 0, the file unchanged. Returns RE_EMPTY_LINE (27), writing
    // nothing, when an actuator is of no line kind; RE_WRITE_SECTION (38)
    // when the write is refused; else 0.
    RETERROR SaveLine(const char* file) const;
    // SaveLine(file) with `mode`. With Preserve the entries of the section in
    // `file` that a load would not take into the line (unknown keys, refused
    // entries) and whose key the line does not write stay, in their order,
    // after the line's own entries. A section that means what would be
    // written is not touched: it holds those very lines, or a scratch line
    // loaded from it by LoadSection writes them (a section loaded in part,
    // its key listing cut, never means the same). Results as without `mode`.
    RETERROR SaveLine(const char* file, SaveMode mode) const;

    // As ColorPrg::AddSorted: inserted by Caduta after equal feeds; owned by
    // the line from then on (made with new); null or a held actuator ignored.
    void AddSorted(Attuat* actuator);

    // Takes `actuator` out of the list without destroying it and returns 1;
    // the caller owns it from then on. 0 when the line does not hold it.
    int RemoveAttuat(Attuat* actuator);

    // The first actuator in list order whose Id is `id`, or null. Owned by
    // the line.
    Attuat* GetAttuat(short id) const;

    // The kind queries: when `plane` is -1 or Plane and `lineId` is -1 or
    // ID, append the Id of each actuator of the kind to `list` unless it is
    // there already, in list order. Always return 1.
    int GetListDrum(IndexList* list, short plane, short lineId) const;
    int GetListFinger(IndexList* list, short plane, short lineId) const;
    int GetListSplitter(IndexList* list, short plane, short lineId) const;
    int GetListTriangle(IndexList* list, short plane, short lineId) const;
    int GetListStepMotor(IndexList* list, short plane, short lineId) const;
    int GetListStepMotorDis(IndexList* list, short plane, short lineId) const;
    int GetListSpeeder(IndexList* list, short plane, short lineId) const;

    // Appends ID to `list` when `plane` is -1 or Plane and the list does not
    // hold it yet. Returns 1.
    int GetListLines(IndexList* list, short plane) const;

    // When `plane` is -1 or Plane, appends ID to `list` once for every
    // actuator whose Id is `id`, duplicates included (an `id` of -1 matches
    // only actuators whose Id is -1). Returns 1.
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
    // The address of `actuator`'s kind counter among the seven that
    // `counters` points to: DrumLine 0, FingerLine 1, SplitterLine 2,
    // StepMotorLine 3, StepMotorDisLine 4, TriangleLine 5, SpeederLine 6
    // (kind tests in that order). Null for any other class.
    int* ChooseAttuatIdx(const Attuat* actuator, int* counters) const;
};

}  // namespace knitcfg
