#pragma once

#include <memory>
#include <string>
#include <vector>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"
#include "knitcfg/program/BlockPlane.h"

namespace knitcfg {

// One plane of the machine: its number, number of lines, start block,
// description, priority and blocks. Read from its entry in "ColorPlanes"
// ("Plane_001=1, Background, 0") or from its own section "Plane_NNN"; written
// as the entry. A plain class: callers read and write the fields directly.
// Both layouts and every result code: docs/program.md.
class KNITCFG_API PlanePrg : public ModelObject {
    KNITCFG_DECLARE_CLASS(PlanePrg)

public:
    // Number -32768, NumberOfLines 4, StartBlock 0, empty description,
    // Priority 0, no blocks.
    PlanePrg();
    // Copies the values and clones every block.
    PlanePrg(const PlanePrg& other);
    PlanePrg& operator=(const PlanePrg&) = delete;
    // Destroys every block.
    ~PlanePrg() override;

    // Fills Number, Description and Priority from the entry `key` of
    // "ColorPlanes" in `file` ("<number>, <description>, <priority>"),
    // stopping at the first part that does not fit; the later fields keep
    // what they held. A missing entry or a null argument reads as "0, 0, 0".
    void Load(const char* key, const char* file);

    // Writes the plane's entry "Plane_NNN" into "ColorPlanes" of `file`; the
    // other keys stay. Returns RE_WRITE_PLANE (42) when the write is refused
    // (a line break in the description, an unwritable or null file), else 0.
    RETERROR SavePlane(const char* file) const;

    // Fills the plane from the section `section` of `file`, without emptying
    // it first: the number from the section's name, the other fields from
    // their keys, and each "Block_" entry as a new block unless the plane
    // has one of its number. Every field and block is read whatever the
    // result; returns the first fault found (7 number, 8 number of lines,
    // 9 start block, 17 priority, 6 description), else 0.
    RETERROR LoadSection(const char* section, const char* file);

    // The first block whose number is `number`, or null. Owned by the plane.
    BlockPlane* GetBlock(short number) const;

    // Appends a new block (`number` and `parameter` as 16 bits, a copy of
    // `values`, null counting as empty) without looking for one of its
    // number. Returns 1; 0, the plane unchanged, without memory.
    int AddBlock(int number, int parameter, const IndexList* values);

    // Destroys the first block whose number is `number` and returns 1; 0
    // when there is none.
    int RemoveBlock(short number);

    short Number = kNoValue;  // the plane number; names the plane entry
    short NumberOfLines = 4;  // the number of lines of the plane
    short StartBlock = 0;     // the start block of the plane
    std::string Description;  // line breaks as CR LF
    short Priority = 0;       // the priority of the plane
    // The plane's blocks, in the order in which they were added; owned.
    std::vector<std::unique_ptr<BlockPlane>> Blocks;
};

}  // namespace knitcfg
