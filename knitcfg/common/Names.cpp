#include "knitcfg/common/detail/Names.h"

#include <cstdio>

namespace knitcfg::detail {

std::string NumberedName(const char* prefix, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%3.3d", number);
    std::string out = prefix != nullptr ? prefix : "";
    out += digits;
    return out;
}

}  // namespace knitcfg::detail
