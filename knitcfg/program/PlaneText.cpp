#include "knitcfg/program/PlaneText.h"

#include "knitcfg/actuators/detail/EntryParser.h"

namespace knitcfg::detail {

namespace {

// The blanks that "%d" skips: those of the C locale's isspace.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

const char* SkipBlanks(const char* p) {
    if (p == nullptr) {
        return nullptr;
    }
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

const char* ReadNumber(const char* p, int* number) {
    const char* end = SkipBlanks(p);
    if (end == nullptr) {
        return nullptr;
    }
    if (*end == '+' || *end == '-') {
        ++end;
    }
    if (!IsDigit(*end)) {
        return nullptr;
    }
    while (IsDigit(*end)) {
        ++end;
    }
    // The value itself comes from the one entry parser, so that overlong
    // numbers wrap exactly as in actuator entries.
    const entry::ScanResult scan = entry::Scan(p, "%d", 0);
    if (scan.items.empty()) {
        return nullptr;
    }
    *number = scan.items.front().number;
    return end;
}

}  // namespace knitcfg::detail
