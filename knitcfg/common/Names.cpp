#include "knitcfg/common/detail/Names.h"

#include "knitcfg/common/detail/Numbers.h"

namespace knitcfg::detail {

std::string NumberedName(const char* prefix, int number) {
    std::string out;
    AppendNumberedName(prefix, number, &out);
    return out;
}

void AppendNumberedName(const char* prefix, int number, std::string* out) {
    if (prefix != nullptr) {
        out->append(prefix);
    }
    char digits[11];
    out->append(digits, static_cast<std::size_t>(WriteDecimal(number, 3, digits) - digits));
}

}  // namespace knitcfg::detail
