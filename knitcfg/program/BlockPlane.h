#pragma once

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// One block of a plane: a block number, a second number (the parameter, kept
// and written back unchanged) and a list of 16-bit values. A plain class:
// callers read and write the fields directly.
//
// In a file the block is one entry of its plane's section: the key "Block_"
// with the number ("%3.3d"), the value the number, the parameter and every
// value, each after a comma and a blank:
//   Block_007=7, 2, 5, 6, 7
class KNITCFG_API BlockPlane : public ModelObject {
    KNITCFG_DECLARE_CLASS(BlockPlane)

public:
    // Number 0, parameter 0, no values.
    BlockPlane();
    // Copies both numbers and every value.
    BlockPlane(const BlockPlane& other);
    BlockPlane& operator=(const BlockPlane&) = delete;
    ~BlockPlane() override;

    // A new copy of the block, made with new; the caller owns it (delete it,
    // or hold it in a std::unique_ptr).
    BlockPlane* Clone() const;

    // Fills the block from the entry `key` of `section` of `file`, read
    // through 256 characters:
    //  - the value is read as "<number>, <parameter>, <values>": each comma
    //    right after its number, blanks after it skipped. Number and
    //    Parameter take what is read, as 16 bits; reading stops at the
    //    first part that does not fit, leaving the later fields as they
    //    were;
    //  - the values are the text after the parameter's comma up to the first
    //    apostrophe, read part by part between commas: each part is read as
    //    a number (blanks, a sign, digits, as 16 bits); a part that does not
    //    begin with a number gives 0, so that the values after it keep their
    //    places. A comma that ends the text ends the list ("5, 6," gives 5
    //    and 6). The values are written over the list from position 0 on;
    //    values at later positions stay, and without a values part the list
    //    is left as it was (empty for a new block).
    // Returns RE_NO_BLOCK (10), leaving the block unchanged, when the entry
    // is missing or empty or an argument is null; else 0.
    RETERROR Load(const char* section, const char* key, const char* file);

    // Writes the block's entry into `section` of `file`: the key "Block_NNN"
    // and the value "%d, %d" of number and parameter followed by ", %d" per
    // value (a block without values writes only the two numbers). Other keys
    // of the section stay. Returns RE_WRITE_BLOCK (41) when the write is
    // refused (a section name the file cannot hold, an unwritable file, a
    // null argument), else 0.
    RETERROR SaveBlock(const char* section, const char* file) const;

    short Number = 0;     // the block number; names the entry
    short Parameter = 0;  // the second number of the entry
    IndexList Values;     // the third and later numbers of the entry
};

}  // namespace knitcfg
