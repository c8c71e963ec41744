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

// How the machine's actuators are set for one color of a design: the color's
// own section "Color_NNN" ("%3.3d" of ID) with the keys "ID", "Plane",
// "HelpAbstract" and "Help", then one actuator entry per actuator. A plain
// class: callers read and write the fields directly.
//
// The section as SaveColor writes it:
//   [Color_003]
//   ID=3
//   Plane=1
//   HelpAbstract=Red yarn
//   Help=First line\nSecond line
//   Drum_000=12, 1, 1, 0
//   Finger_000=14, 1, 1, 1
//   Drum_001=13, 2, 2, 0
// Each kind numbers its entries from 000 in list order, so the kinds are
// interleaved by feed.
class KNITCFG_API ColorPrg : public ModelObject {
    KNITCFG_DECLARE_CLASS(ColorPrg)

public:
    // ID -1, Plane 0, empty texts, no actuators, the seven color prototypes.
    ColorPrg();
    // Copies ID, Plane and both texts; the actuator list gets a Clone of each
    // of `other`'s actuators in order; the prototype references are shared.
    ColorPrg(const ColorPrg& other);
    ColorPrg& operator=(const ColorPrg&) = delete;
    // Destroys the actuators and empties both lists, then empties the texts
    // that the SpeederColor and StepMotorDisColor prototypes keep from the
    // last entry they parsed (the shared prototypes are never destroyed).
    ~ColorPrg() override;

    // Gives this color the content of `source`: Plane, HelpAbstract, Help,
    // a Clone of each of its actuators in order (the previous actuators are
    // destroyed) and its prototype references; ID stays. A null source
    // changes nothing; so does the color itself as source, whose content is
    // already its own (its actuators, and pointers to them, stay valid).
    void SetColor(const ColorPrg* source);

    // Fills the color from `section` of `file`, without emptying it first:
    //  - ID and Plane from "ID" and "Plane" (low 16 bits; -1 when missing);
    //  - Help and HelpAbstract from their keys (read through 260 characters,
    //    backslash-n turned into CR LF) when not empty; else they are kept;
    //  - every key in file order goes to the first listed actuator whose Id
    //    is the first number of its value: one of its own kind re-reads its
    //    values and keeps its place in the list, one of another kind drops
    //    the entry. Otherwise the first color prototype that recognises the
    //    key makes a new actuator, inserted by feed (AddSorted). Keys that
    //    nothing takes are skipped; only names within the first 8192
    //    characters of the list of key names are seen.
    // Returns RE_EMPTY_COLOR (7) when the section is missing or has no keys
    // (ID and Plane are then -1). Otherwise the code of the last actuator
    // operation for the last key: 0 when it was taken or merged,
    // RE_WRONG_KIND (1) when an actuator of another kind claimed it, or the
    // load code of the last prototype asked, RE_SPEEDER_COLOR_ENTRY (24),
    // when no actuator entry took it. The color keeps what it could read.
    RETERROR LoadSection(const char* section, const char* file);

    // Writes the color as the whole section "Color_NNN" of `file`, in one
    // write that replaces every key the section held. Help and HelpAbstract
    // are written with each CR LF as backslash-n and then hold what a reader
    // of the file gets back: a backslash-n that stood in them becomes CR LF.
    // Returns RE_NOT_A_COLOR_ACTUATOR (15), writing nothing, when an
    // actuator is of no color kind; RE_WRITE_SECTION (38) when the write is
    // refused (a text holding a lone CR or LF, an unwritable file); else 0.
    RETERROR SaveColor(const char* file);
    // SaveColor(file) with `mode`. With Preserve the entries of the section in
    // `file` that a load would not take into the color (unknown keys, refused
    // entries) and whose key the color does not write stay, in their order,
    // after the color's own entries. A section that means what would be
    // written is not touched: it holds those very lines, or a scratch color
    // loaded from it by LoadSection writes them (a section loaded in part,
    // its key listing cut, never means the same). Results as without `mode`.
    RETERROR SaveColor(const char* file, SaveMode mode);

    // Inserts `actuator` before the first actuator whose Caduta is greater,
    // or at the end, so that equal feeds keep their order of arrival. The
    // color owns it from then on (it must have been made with new, e.g. by
    // Clone). Null, or an actuator the color holds already, is ignored.
    void AddSorted(Attuat* actuator);

    // Takes `actuator` out of the list without destroying it and returns 1;
    // the caller owns it from then on. Returns 0, changing nothing, when the
    // color does not hold that very object.
    int RemoveAttuat(Attuat* actuator);

    // The kind queries: when `plane` is -1 or Plane and `colorId` is -1 or
    // ID, append the Id of each actuator of the kind to `list` unless it is
    // there already, in list order. Always return 1.
    int GetListDrum(IndexList* list, short plane, short colorId) const;
    int GetListFinger(IndexList* list, short plane, short colorId) const;
    int GetListSplitter(IndexList* list, short plane, short colorId) const;
    int GetListTriangle(IndexList* list, short plane, short colorId) const;
    int GetListStepMotor(IndexList* list, short plane, short colorId) const;
    int GetListStepMotorDis(IndexList* list, short plane, short colorId) const;
    int GetListSpeeder(IndexList* list, short plane, short colorId) const;

    // Appends ID to `list` when `plane` is -1 or Plane and the list does not
    // hold it yet. Returns 1.
    int GetListColors(IndexList* list, short plane) const;

    // The state (GetStato), Caduta and IdCaduta of the first actuator whose
    // Id is `id`; -32768 when there is none.
    short GetStato(short id) const;
    short GetCaduta(short id) const;
    short GetIdCaduta(short id) const;

    // The first actuator in list order whose Id is `id`, or null. Owned by
    // the color.
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
    // The address of `actuator`'s kind counter among the seven that
    // `counters` points to: DrumColor 0, FingerColor 1, SplitterColor 2,
    // StepMotorColor 3, StepMotorDisColor 4, TriangleColor 5, SpeederColor 6
    // (kind tests in that order). Null for any other class.
    int* ChooseAttuatIdx(const Attuat* actuator, int* counters) const;
};

}  // namespace knitcfg
