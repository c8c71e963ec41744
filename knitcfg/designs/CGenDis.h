#pragma once

#include <memory>
#include <string>
#include <vector>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/SaveMode.h"
#include "knitcfg/common/Types.h"
#include "knitcfg/designs/CPatObj.h"

namespace knitcfg {

// One generated design: its name (the path of the design file, as callers
// give it), two numbers that the library stores and writes unchanged, and
// its pattern objects, owned, in file order. A plain class: callers read and
// write the fields directly.
//
// In a configuration file the design is one line of "GeneratedDis"
// ("<name>=<first>,<second>") and a section of its own, named as the design,
// with one line per pattern object (see CPatObj).
class KNITCFG_API CGenDis : public ModelObject {
    KNITCFG_DECLARE_CLASS(CGenDis)

public:
    // An empty name and pattern list, numbers 0.
    CGenDis();
    // A deep copy: the name, both numbers and a clone of every pattern object.
    CGenDis(const CGenDis& other);
    CGenDis& operator=(const CGenDis&) = delete;
    // Deletes the pattern objects.
    ~CGenDis() override;

    // Fills the design from one line of "GeneratedDis" as a section listing
    // gives it ("name=first,second"; null reads as "") and from the design's
    // own section in `file`:
    //   the name is the text before the first '=' ("" without one);
    //   the numbers are read leniently from the text after it; without a ','
    //   the first is 0 and the second is read from the whole text;
    //   every line of the section named by the name, as the file spells it,
    //   is appended as a pattern object, whatever its own load returned;
    //   then the name loses its drive part ('E:\dis\a' is held as '\dis\a').
    // A section that does not exist gives no pattern objects. Always 0.
    RETERROR LoadSection(const char* line, const char* file);

    // Writes the design's line into "GeneratedDis" of `file`, then replaces
    // the design's own section with one line per pattern object, in order.
    // Returns RE_WRITE_LAST_DEVELOP (56) when the design's line is refused (a
    // name with '=' or a line break, a file that cannot be written); the
    // section is still rewritten then. A refused pattern line is not
    // reported. Else 0.
    RETERROR Save(const char* file) const;
    // Save(file) with `mode`: with Preserve, a section of the name that is
    // there keeps its place and its comment and blank lines (its entries are
    // replaced) instead of being removed and added again at the end.
    RETERROR Save(const char* file, SaveMode mode) const;

    // The first pattern object whose color number is `color`; null when there
    // is none. Owned by the design.
    CPatObj* GetPatObject(int color);
    const CPatObj* GetPatObject(int color) const;

    // Sets, adds or removes the pattern object of `color`:
    //   found, `patternName` not null (an empty text included): its pattern
    //   name and association value are set, its remap list stays;
    //   found, `patternName` null: the object is removed and deleted;
    //   not found, `patternName` null or empty: nothing changes;
    //   not found otherwise: a new object with an empty remap list is appended.
    void UpdateColorAssociation(int color, int association, const char* patternName);

    // Replaces the remap list of the pattern object of `color` with a copy of
    // `remap` and returns 1. Returns 0, changing nothing, when the color has
    // no pattern object or `remap` is null. `remap` is not changed.
    int UpdateColorRemap(int color, IndexList* remap);

    std::string Name;
    int First = 0;
    int Second = 0;
    std::vector<std::unique_ptr<CPatObj>> Patterns;
};

}  // namespace knitcfg
