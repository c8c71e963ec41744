#pragma once

#include <string>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// One shaved design: a name, three numbers and a list of 32-bit elements,
// stored and written unchanged as one line of "ShavedDis"
// ('motif=1, 2, 3,<10><20><-1>'). A plain class: callers read and write the
// fields directly. Details: docs/designs.md.
class KNITCFG_API CShavedDis : public ModelObject {
    KNITCFG_DECLARE_CLASS(CShavedDis)

public:
    // An empty name and element list, numbers 0.
    CShavedDis();
    CShavedDis(const CShavedDis& other);
    CShavedDis& operator=(const CShavedDis& other);
    ~CShavedDis() override;

    // Fills the entry from one line of a section listing ("key=value"; null
    // reads as ""), the element list emptied first. Returns
    // RE_BAD_SHAVED_LINE (37) for a line without '=' (the whole line is then
    // the name) or text where a number belongs (what was read stays); else
    // 0. Elements are read up to the first text that is not one.
    RETERROR Load(const char* line);

    // Writes the entry's line into "ShavedDis" of `file`. Returns
    // RE_WRITE_SHAVED (58) when the write is refused, else 0.
    RETERROR Save(const char* file) const;

    std::string Name;
    int First = 0;
    int Second = 0;
    int Third = 0;
    UIntArray Elements;
};

}  // namespace knitcfg
