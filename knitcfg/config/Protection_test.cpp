#include "knitcfg/config/Protection.h"

#include <gtest/gtest.h>

#include <string>

#include "FileSizeLimit.h"
#include "TestUtil.h"

namespace knitcfg {
namespace {

class ProtectionTest : public ::testing::Test {
protected:
    std::string Write(const std::string& text) {
        const std::string path = dir_.File("cfg.ini");
        test::WriteFile(path, text);
        return path;
    }

    test::TempDir dir_;
};

TEST_F(ProtectionTest, LoadReadsTheFlagOrReportsItMissing) {
    struct Case {
        const char* text;
        RETERROR code;
        int flag;  // starting from 1
    } const cases[] = {
        {"[Protection]\r\nConfigProtected=0\r\n", RE_SUCCESS, 0},
        {"[Protection]\r\nConfigProtected=1\r\n", RE_SUCCESS, 1},
        {"[Protection]\r\nConfigProtected=7\r\n", RE_SUCCESS, 1},
        {"[Protection]\r\nConfigProtected=-2\r\n", RE_SUCCESS, 1},
        {"[Protection]\r\nConfigProtected=no\r\n", RE_SUCCESS, 0},  // no digits read as 0
        {"[Protection]\r\nConfigProtected=-1\r\n", RE_NO_PROTECTION, 1},
        {"[Protection]\r\nConfigProtected=\r\n", RE_NO_PROTECTION, 1},
        {"[Protection]\r\nOther=0\r\n", RE_NO_PROTECTION, 1},
        {"[Header]\r\nConfigProtected=0\r\n", RE_NO_PROTECTION, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = Write(c.text);
        Protection p;
        p.Set(1);
        EXPECT_EQ(p.Load(path.c_str()), c.code);
        EXPECT_EQ(p.Get(), c.flag);
    }
    Protection p;
    p.Set(1);
    EXPECT_EQ(p.Load(dir_.File("missing.ini").c_str()), RE_NO_PROTECTION);
    EXPECT_EQ(p.Get(), 1);
}

TEST_F(ProtectionTest, SetKeepsOnlyWhetherTheValueIsZero) {
    Protection p;
    EXPECT_EQ(p.Get(), 0);
    p.Set(5);
    EXPECT_EQ(p.Get(), 1);
    Protection copy(p);
    EXPECT_EQ(copy.Get(), 1);
    p.Set(0);
    EXPECT_EQ(p.Get(), 0);
    EXPECT_EQ(copy.Get(), 1);
}

TEST_F(ProtectionTest, SaveWritesZeroOrOneAndLoadsBack) {
    const std::string path = Write("[Protection]\r\nConfigProtected = 7\r\n");
    Protection p;
    ASSERT_EQ(p.Load(path.c_str()), RE_SUCCESS);
    ASSERT_EQ(p.Save(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(path), "[Protection]\r\nConfigProtected=1\r\n");

    const std::string fresh = dir_.File("fresh.ini");
    ASSERT_EQ(Protection().Save(fresh.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(fresh), "[Protection]\r\nConfigProtected=0\r\n");
    p.Set(1);
    ASSERT_EQ(p.Load(fresh.c_str()), RE_SUCCESS);
    EXPECT_EQ(p.Get(), 0);
}

TEST_F(ProtectionTest, RefusedWriteGives59) {
    Protection p;
    EXPECT_EQ(p.Save(dir_.File("missing/cfg.ini").c_str()), RE_WRITE_PROTECTION);
#ifndef _WIN32
    const std::string full = dir_.File("full.ini");
    EXPECT_EQ(test::RunWithFileSizeLimit(0, [&] { return static_cast<int>(p.Save(full.c_str())); }),
              RE_WRITE_PROTECTION);
    EXPECT_FALSE(test::FileExists(full));
#endif
}

}  // namespace
}  // namespace knitcfg
