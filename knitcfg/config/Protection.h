#pragma once

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"

namespace knitcfg {

// The "Protection" section of a configuration file: one flag,
// "ConfigProtected", that marks the configuration as protected. The library
// only stores, loads, saves and reports it; what protection means is up to
// the calling programs.
class KNITCFG_API Protection : public ModelObject {
    KNITCFG_DECLARE_CLASS(Protection)

public:
    // Not protected (flag 0).
    Protection();
    Protection(const Protection& other);
    Protection& operator=(const Protection& other);
    ~Protection() override;

    // The flag becomes 1 when `value` is not 0, else 0.
    void Set(int value);
    // 1 when the configuration is protected, else 0.
    int Get() const;

    // Reads "ConfigProtected" from the section "Protection" of the file at
    // `path`. Any value other than 0 sets the flag. Returns RE_NO_PROTECTION
    // (2), leaving the flag unchanged, when the key is missing, empty or
    // written as -1.
    RETERROR Load(const char* path);

    // Writes "ConfigProtected" as "0" or "1" into the section "Protection" of
    // the file at `path`, creating file and section as needed. Returns
    // RE_WRITE_PROTECTION (59) when the write is refused.
    RETERROR Save(const char* path) const;

private:
    int flag_ = 0;  // always 0 or 1
};

}  // namespace knitcfg
