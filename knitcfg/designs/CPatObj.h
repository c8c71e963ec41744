#pragma once

#include <string>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// One pattern object of a generated design: it ties the color number `Color`
// to a pattern file (`PatternName`), an association value and a remap list,
// all stored and written unchanged. In a design's section it is one line:
// '2=\pat\p1,5,1 2 3 '. A plain class: callers read and write the fields
// directly. Details: docs/designs.md.
class KNITCFG_API CPatObj : public ModelObject {
    KNITCFG_DECLARE_CLASS(CPatObj)

public:
    // An empty pattern name and remap list, color and association 0.
    CPatObj();
    // Pattern objects are copied only through Clone.
    CPatObj(const CPatObj&) = delete;
    CPatObj& operator=(const CPatObj&) = delete;
    ~CPatObj() override;

    // Fills the object from one line of a design section ("key=value"; null
    // reads as ""): color, pattern name without its drive part, association
    // and, after a second ',', the remap list. Returns RE_WRONG_KIND (1) when
    // the value holds no ',' (association and remap list then stay), else 0.
    RETERROR LoadSection(const char* line);

    // Writes the object's line into `section` of `file`. Returns
    // RE_WRITE_PATTERN (57) when the write is refused, else 0.
    RETERROR Save(const char* section, const char* file) const;

    // A new object with the same fields; the caller owns it.
    CPatObj* Clone() const;

    std::string PatternName;
    int Color = 0;
    int Association = 0;
    IndexList Remap;
};

}  // namespace knitcfg
