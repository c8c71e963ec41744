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

// One plane of the machine: its number, the number of lines and start block
// that it uses, a description, a priority and its blocks. Every color and
// line names its plane by number. A plain class: callers read and write the
// fields directly.
//
// A file holds planes in one of two layouts. The plane entry, one per plane
// in the section "ColorPlanes", read and written (Load, SavePlane):
//   [ColorPlanes]
//   Plane_001=1, Background, 0
// carries number, description and priority only. The plane section, one per
// plane, is only read (LoadSection):
//   [Plane_001]
//   NumberOfLines=4
//   StartBlock=0
//   Priority=0
//   Description=Background\nplane
//   Block_001=1, 2, 5, 6, 7
class KNITCFG_API PlanePrg : public ModelObject {
    KNITCFG_DECLARE_CLASS(PlanePrg)

public:
    // Number -32768, NumberOfLines 4, StartBlock 0, empty description,
    // Priority 0, no blocks.
    PlanePrg();
    // Copies the five values; the block list gets a Clone of each of
    // `other`'s blocks, in order.
    PlanePrg(const PlanePrg& other);
    PlanePrg& operator=(const PlanePrg&) = delete;
    // Destroys every block.
    ~PlanePrg() override;

    // Fills Number, Description and Priority from the entry `key` of the
    // section "ColorPlanes" of `file`, read through 512 characters. The value
    // is read as "<number>, <description>, <priority>": the comma right
    // after the number, the description being the text after it (blanks
    // after the comma skipped) up to the next comma, then that comma and the
    // priority. This reads back whatever SavePlane writes when the
    // description holds no comma and does not begin with a blank; a
    // description holding a comma reads back as its text before that comma
    // (and the priority is then not read). Reading stops at the first part
    // that does not fit, the later fields keeping what they held. A missing
    // entry (or a null argument) reads as "0, 0, 0": number 0, description
    // "0", priority 0. Numbers are kept as 16 bits.
    void Load(const char* key, const char* file);

    // Writes the plane's entry into "ColorPlanes" of `file`: the key
    // "Plane_NNN" ("%3.3d" of Number) and the value "%d, %s, %d" of
    // Number, Description (unchanged) and Priority. The other keys of the
    // section stay. Returns RE_WRITE_PLANE (42) when the write is refused (a
    // description holding a line break, an unwritable file, a null file),
    // else 0.
    RETERROR SavePlane(const char* file) const;

    // Fills the plane and adds its blocks from the plane section `section`
    // of `file`, without emptying the plane first:
    //  - Number from the section's name: the number after its first six
    //    characters ("Plane_"), read as "%d" reads it ("Plane_001" is plane
    //    1), -1 when there is none; NumberOfLines from "NumberOfLines",
    //    StartBlock from "StartBlock", Priority from "Priority", each -1 when
    //    missing; all as 16 bits;
    //  - Description from "Description" (8192 characters, backslash-n turned
    //    into CR LF) when not empty; else it is kept;
    //  - every key beginning with "Block_" (exact letter case), in file
    //    order, is read by BlockPlane::Load into a new block, which is added
    //    at the end unless the plane holds a block of its number already (so
    //    the first entry of a number wins). Only names within the first 8192
    //    characters of the list of key names are seen.
    // Returns the first of, in this order: RE_EMPTY_COLOR (7) when Number is
    // not positive (the name holds no positive number);
    // RE_BAD_NUMBER_OF_LINES (8) when NumberOfLines is not positive;
    // RE_BAD_START_BLOCK (9) when StartBlock is negative;
    // RE_NEGATIVE_PRIORITY (17) when Priority is negative; RE_NO_DESCRIPTION
    // (6) when "Description" is missing or empty; else 0. Every field and
    // block is read whatever the result.
    RETERROR LoadSection(const char* section, const char* file);

    // The first block whose number is `number`, or null. Owned by the plane.
    BlockPlane* GetBlock(short number) const;

    // Appends a new block with `number` and `parameter` (as 16 bits) and a
    // copy of `values` (null counts as empty), without looking for a block
    // of that number: to replace one, remove it first. Returns 1; 0, the
    // plane unchanged, when the block could not be made (no memory).
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
