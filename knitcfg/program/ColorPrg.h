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

// How the machine's actuators are set for one color of a design: the section
// "Color_NNN" with "ID", "Plane", "HelpAbstract", "Help" and one entry per
// actuator. A plain class: callers read and write the fields directly. The
// section format, the merge rules and every result code: docs/program.md.
class KNITCFG_API ColorPrg : public ModelObject {
    KNITCFG_DECLARE_CLASS(ColorPrg)

public:
    // ID -1, Plane 0, empty texts, no actuators, the seven color prototypes.
    ColorPrg();
    // Clones every actuator of `other`; shares its prototypes.
    ColorPrg(const ColorPrg& other);
    ColorPrg& operator=(const ColorPrg&) = delete;
    // Destroys the actuators and empties the texts that the shared speeder and
    // design stepping motor prototypes kept from their last entry.
    ~ColorPrg() override;

    // Takes Plane, both texts, a clone of each actuator and the prototypes of
    // `source`; ID stays. Null, or the color itself, changes nothing.
    void SetColor(const ColorPrg* source);

    // Adds what `section` of `file` holds, without emptying the color first:
    // the header keys, and each entry merged into the actuator of its
    // identifier or made new by a prototype. Returns RE_EMPTY_COLOR (7) when
    // the section is missing or has no keys (ID and Plane then -1), else the
    // code of the last key. The color keeps what it could read.
    RETERROR LoadSection(const char* section, const char* file);

    // Replaces the section "Color_NNN" of `file` with the color, in one
    // write; afterwards the texts hold what a reader gets back. Returns
    // RE_NOT_A_COLOR_ACTUATOR (15), writing nothing, when an actuator is of
    // no color kind; RE_WRITE_SECTION (38) when the write is refused (a text
    // with a lone CR or LF, an unwritable file); else 0.
    RETERROR SaveColor(const char* file);
    // SaveColor(file); with Preserve, entries of the section that a load
    // would not take stay after the color's own, and a section that already
    // means what would be written is not touched.
    RETERROR SaveColor(const char* file, SaveMode mode);

    // Inserts `actuator` after every actuator of a feed not greater; the
    // color owns it from then on (made with new). Null, or an actuator the
    // color holds, is ignored.
    void AddSorted(Attuat* actuator);

    // Takes `actuator` out of the list, not destroyed, and returns 1; the
    // caller owns it. 0, nothing changed, when the color does not hold it.
    int RemoveAttuat(Attuat* actuator);

    // The kind queries: when `plane` is -1 or Plane and `colorId` is -1 or
    // ID, append the Id of each actuator of the kind that `list` lacks, in
    // list order. Return 1.
    int GetListDrum(IndexList* list, short plane, short colorId) const;
    int GetListFinger(IndexList* list, short plane, short colorId) const;
    int GetListSplitter(IndexList* list, short plane, short colorId) const;
    int GetListTriangle(IndexList* list, short plane, short colorId) const;
    int GetListStepMotor(IndexList* list, short plane, short colorId) const;
    int GetListStepMotorDis(IndexList* list, short plane, short colorId) const;
    int GetListSpeeder(IndexList* list, short plane, short colorId) const;

    // Appends ID when `plane` is -1 or Plane and `list` lacks it. Returns 1.
    int GetListColors(IndexList* list, short plane) const;

    // The state, Caduta and IdCaduta of the first actuator whose Id is `id`;
    // -32768 when there is none (or, for the state, it has none).
    short GetStato(short id) const;
    short GetCaduta(short id) const;
    short GetIdCaduta(short id) const;

    // The first actuator whose Id is `id`, or null. Owned by the color.
    Attuat* GetAttuat(short id) const;

    short ID = -1;             // the color number; names the section
    short Plane = 0;           // the plane of the color
    std::string HelpAbstract;  // short help; line breaks as CR LF
    std::string Help;          // long help; line breaks as CR LF
    // The color's actuators, sorted by Caduta; owned.
    std::vector<std::unique_ptr<Attuat>> Attuats;
    // The shared color prototypes in recognition order (TriangleColor,
    // DrumColor, FingerColor, SplitterColor, StepMotorColor,
    // StepMotorDisColor, SpeederColor); not owned.
    std::vector<Attuat*> Prototypes;

protected:
    // The kind counter of `actuator` among the seven at `counters` (DrumColor
    // 0, FingerColor 1, SplitterColor 2, StepMotorColor 3, StepMotorDisColor
    // 4, TriangleColor 5, SpeederColor 6); null for any other class.
    int* ChooseAttuatIdx(const Attuat* actuator, int* counters) const;
};

}  // namespace knitcfg
