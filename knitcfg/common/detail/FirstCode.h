#pragma once

// Internal: not exported, not installed.

#include "knitcfg/common/RetError.h"

namespace knitcfg::detail {

// The result of a run of steps that all run whatever the earlier ones
// returned: the first non-zero code wins, later ones are dropped.
class FirstCode {
public:
    // Keeps `code` unless a non-zero code was kept already.
    void Note(RETERROR code) {
        if (code_ == RE_SUCCESS) {
            code_ = code;
        }
    }
    // Keeps `code` when `ok` is false (and no code was kept yet).
    void Check(bool ok, RETERROR code) {
        if (!ok) {
            Note(code);
        }
    }
    RETERROR Get() const { return code_; }

private:
    RETERROR code_ = RE_SUCCESS;
};

}  // namespace knitcfg::detail
