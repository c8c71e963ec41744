#pragma once

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// One block of a plane: a number, a parameter (kept and written back
// unchanged) and a list of 16-bit values, stored as one entry of the plane's
// section ("Block_007=7, 2, 5, 6, 7"). A plain class: callers read and write
// the fields directly. How an entry is read: docs/program.md.
class KNITCFG_API BlockPlane : public ModelObject {
    KNITCFG_DECLARE_CLASS(BlockPlane)

public:
    // Number 0, parameter 0, no values.
    BlockPlane();
    // Copies both numbers and every value.
    BlockPlane(const BlockPlane& other);
    BlockPlane& operator=(const BlockPlane&) = delete;
    ~BlockPlane() override;

    // A new copy of the block, made with new; the caller owns it.
    BlockPlane* Clone() const;

    // Fills the block from the entry `key` of `section` of `file`
    // ("<number>, <parameter>, <values>"): what is read replaces the numbers
    // and the values from position 0 on; what does not fit stays as it was.
    // Returns RE_NO_BLOCK (10), the block unchanged, when the entry is
    // missing or empty or an argument is null; else 0.
    RETERROR Load(const char* section, const char* key, const char* file);

    // Writes the block's entry "Block_NNN" into `section` of `file`; the other
    // keys stay. Returns RE_WRITE_BLOCK (41) when the write is refused (a
    // section name the file cannot hold, an unwritable file, a null
    // argument), else 0.
    RETERROR SaveBlock(const char* section, const char* file) const;

    short Number = 0;     // the block number; names the entry
    short Parameter = 0;  // the second number of the entry
    IndexList Values;     // the third and later numbers of the entry
};

}  // namespace knitcfg
