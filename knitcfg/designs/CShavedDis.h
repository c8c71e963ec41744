#pragma once

#include <string>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// One shaved design: a name, three numbers and a list of 32-bit elements,
// all stored and written unchanged. A plain class: callers read and write the
// fields directly.
//
// In a configuration file the entry is one line of "ShavedDis": the name as
// key, then "<first>, <second>, <third>," followed directly by every element
// as "<value>", the element's 32 bits written as a signed number
// ('motif=1, 2, 3,<10><20><-1>'; the last element reads back as 4294967295).
class KNITCFG_API CShavedDis : public ModelObject {
    KNITCFG_DECLARE_CLASS(CShavedDis)

public:
    // An empty name and element list, numbers 0.
    CShavedDis();
    CShavedDis(const CShavedDis& other);
    CShavedDis& operator=(const CShavedDis& other);
    ~CShavedDis() override;

    // Fills the entry from one line of a section listing ("key=value"; null
    // reads as ""). The element list is emptied first. Then:
    //   without '=' the whole line becomes the name and RE_BAD_SHAVED_LINE
    //   (37) is returned;
    //   the name is the text before the first '=';
    //   the three numbers are read in turn, each from where the reading stands
    //   (blanks, an optional sign, digits), the reading then moving past the
    //   next ',' or to the end. Text that does not begin with a number returns
    //   37 at once, keeping what was read; a field that holds only blanks, or
    //   nothing, leaves its number as it was;
    //   the elements follow directly: each is '<', a number and '>', and one
    //   blank after the '>' is skipped. The reading stops, without error, at
    //   the end of the line or at the first text that is not an element.
    // Returns 0 otherwise.
    RETERROR Load(const char* line);

    // Writes the entry's line into "ShavedDis" of `file`. Returns
    // RE_WRITE_SHAVED (58) when the write is refused (a name that the file
    // cannot hold as a key, a file that cannot be written), else 0.
    RETERROR Save(const char* file) const;

    std::string Name;
    int First = 0;
    int Second = 0;
    int Third = 0;
    UIntArray Elements;
};

}  // namespace knitcfg
