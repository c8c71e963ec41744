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
// give it), two numbers stored and written unchanged, and its pattern
// objects, owned, in file order. In a file: one line of "GeneratedDis"
// ("<name>=<first>,<second>") and a section of its own, named as the design.
// A plain class: callers read and write the fields directly. Details:
// docs/designs.md.
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

    // Fills the design from one line of "GeneratedDis" ("name=first,second";
    // null reads as "") and appends a pattern object per line of the section
    // named as the file spells it; the name then loses its drive part.
    // Always 0.
    RETERROR LoadSection(const char* line, const char* file);

    // Writes the design's line into "GeneratedDis" of `file` and replaces
    // its section with one line per pattern object. Returns
    // RE_WRITE_LAST_DEVELOP (56) when the line is refused (the section is
    // still written), else 0; a refused pattern line is not reported.
    RETERROR Save(const char* file) const;
    // Save(file); with Preserve, a section of the name that is there keeps
    // its place and its comment and blank lines.
    RETERROR Save(const char* file, SaveMode mode) const;

    // The first pattern object whose color is `color`, or null. Owned by the
    // design.
    CPatObj* GetPatObject(int color);
    const CPatObj* GetPatObject(int color) const;

    // Sets the pattern name and association of the pattern object of
    // `color`, keeping its remap list; a null name removes the object. A
    // color without one gets a new object unless the name is null or empty.
    void UpdateColorAssociation(int color, int association, const char* patternName);

    // Replaces the remap list of the pattern object of `color` with a copy of
    // `remap` and returns 1; 0, nothing changed, without such an object or
    // with a null `remap`.
    int UpdateColorRemap(int color, IndexList* remap);

    std::string Name;
    int First = 0;
    int Second = 0;
    std::vector<std::unique_ptr<CPatObj>> Patterns;
};

}  // namespace knitcfg
