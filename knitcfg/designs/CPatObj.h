#pragma once

#include <string>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// One pattern object of a generated design: it ties the color number `Color`
// of the design to a pattern file (`PatternName`), an association value and a
// remap list. A plain class: callers read and write the fields directly. The
// library gives the numbers no meaning; it stores and writes them unchanged.
//
// In a design's section the object is one line: the color number as key, and
// "<pattern name>,<association>" as value, followed, when the remap list is
// not empty, by "," and every remap value with one blank after it
// ('2=\pat\p1,5,1 2 3 ').
class KNITCFG_API CPatObj : public ModelObject {
    KNITCFG_DECLARE_CLASS(CPatObj)

public:
    // An empty pattern name and remap list, color and association 0.
    CPatObj();
    // Pattern objects are copied only through Clone.
    CPatObj(const CPatObj&) = delete;
    CPatObj& operator=(const CPatObj&) = delete;
    ~CPatObj() override;

    // Fills the object from one line of a design section, as a section
    // listing gives it ("key=value"; null reads as ""):
    //   the color number is the key read as a number (0 without digits);
    //   the pattern name is the value up to its first ',', without its drive
    //   part ('D:\pat\p1' is held as '\pat\p1'), and "" when there is no ',';
    //   the association value is the number after that ',' (up to a second
    //   ',' when there is one);
    //   after a second ',' comes the remap list, replaced as a whole: values
    //   separated by single blanks, each cut to its low 16 bits; two blanks in
    //   a row give a 0, a trailing blank gives nothing. Without a second ','
    //   the remap list is left as it was.
    // Numbers are read leniently: blanks, a sign and the digits up to the
    // first other character. Returns RE_WRONG_KIND (1) when the value holds no
    // ',': the color number and the empty pattern name are taken, the
    // association value and the remap list keep what they held. Else 0.
    RETERROR LoadSection(const char* line);

    // Writes the object's line into `section` of the profile file `file`.
    // Returns RE_WRITE_PATTERN (57) when the write is refused (a line break in
    // the pattern name, a section name the file cannot hold, a file that
    // cannot be written), else 0.
    RETERROR Save(const char* section, const char* file) const;

    // A new object with the same fields and a copy of the remap list. The
    // caller owns it (delete it, or hold it in a std::unique_ptr).
    CPatObj* Clone() const;

    std::string PatternName;
    int Color = 0;
    int Association = 0;
    IndexList Remap;
};

}  // namespace knitcfg
