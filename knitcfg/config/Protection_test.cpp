#include "knitcfg/config/Protection.h"

#include <gtest/gtest.h>

#include <string>

#include "TestUtil.h"

namespace knitcfg {
namespace {

TEST(ProtectionTest, LoadReadsTheFlagOrReportsItMissing) {
    test::TempDir dir;
    const std::string path = dir.File("cfg.ini");
    struct Case {
        const char* text;
        RETERROR code;
        int flag;  // starting from 1
    } const cases[] = {
        {"[Protection]\r\nConfigProtected=0\r\n", RE_SUCCESS, 0},
        {"[Protection]\r\nConfigProtected = 7\r\n", RE_SUCCESS, 1},
        {"[Protection]\r\nConfigProtected=-2\r\n", RE_SUCCESS, 1},
        {"[Protection]\r\nConfigProtected=no\r\n", RE_SUCCESS, 0},  // no digits read as 0
        {"[Protection]\r\nConfigProtected=-1\r\n", RE_NO_PROTECTION, 1},
        {"[Protection]\r\nConfigProtected=\r\n", RE_NO_PROTECTION, 1},
        {"[Protection]\r\nOther=0\r\n", RE_NO_PROTECTION, 1},
        {"[Header]\r\nConfigProtected=0\r\n", RE_NO_PROTECTION, 1},
        {nullptr, RE_NO_PROTECTION, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : "no file");
        if (c.text != nullptr) {
            test::WriteFile(path, c.text);
        }
        Protection p;
        p.Set(1);
        EXPECT_EQ(p.Load(c.text != nullptr ? path.c_str() : dir.File("missing.ini").c_str()),
                  c.code);
        EXPECT_EQ(p.Get(), c.flag);
        // Saved, the flag is 0 or 1, whatever was set.
        p.Set(c.flag * 5);
        const std::string saved = dir.File(std::to_string(&c - cases) + ".ini");
        ASSERT_EQ(p.Save(saved.c_str()), RE_SUCCESS);
        EXPECT_EQ(test::ReadFile(saved), c.flag != 0 ? "[Protection]\r\nConfigProtected=1\r\n"
                                                     : "[Protection]\r\nConfigProtected=0\r\n");
    }
}

TEST(ProtectionTest, RefusedWriteGives59) {
    test::TempDir dir;
    EXPECT_EQ(Protection().Save(dir.File("missing/cfg.ini").c_str()), RE_WRITE_PROTECTION);
}

}  // namespace
}  // namespace knitcfg
