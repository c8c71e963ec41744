#include "knitcfg/common/RetError.h"

#include <gtest/gtest.h>

#include <string>

namespace knitcfg {
namespace {

TEST(RetErrorTest, EveryCodeHasItsOwnSentence) {
    const std::string unknown = RetErrorText(-1);
    std::string known;
    for (int code = 0; code < 70; ++code) {
        known += RetErrorText(code) != unknown ? std::to_string(code) + " " : "";
    }
    EXPECT_EQ(known,
              "0 1 2 3 4 5 6 7 8 9 10 11 12 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 "
              "33 34 37 38 40 41 42 45 46 47 48 49 50 51 52 53 54 55 56 57 58 59 60 61 62 63 ");
}

}  // namespace
}  // namespace knitcfg
