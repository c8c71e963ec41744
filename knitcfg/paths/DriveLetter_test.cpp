#include "knitcfg/paths/DriveLetter.h"

#include <gtest/gtest.h>

#include <string>

namespace knitcfg {
namespace {

TEST(DriveLetterTest, GetsTheDrive) {
    struct Case {
        const char* path;
        const char* drive;
    } const cases[] = {
        {"E:\\dis\\a", "E:"}, {"\\dis\\a", ""}, {"x E:\\a", "E:"},
        {":\\dis", ":\\"},    {"E:dis", ""},    {"", ""},
        {"ab:\\c:\\d", "b:"}, {"E:\\", "E:"},   {"E:/dis/a", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetDriveLetter(c.path), c.drive);
    }
    EXPECT_EQ(GetDriveLetter(nullptr), "");
}

TEST(DriveLetterTest, DeletesTheDrive) {
    struct Case {
        const char* path;
        const char* result;
    } const cases[] = {
        {"E:\\dis\\a", "\\dis\\a"},
        {"x E:\\a", "\\a"},
        {"E:dis", "E:dis"},
        {"\\dis\\a", "\\dis\\a"},
        {":\\", "\\"},
        {"a:\\b:\\c", "\\b:\\c"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        DelDriveLetter(path);
        EXPECT_EQ(path, c.result);
    }
}

TEST(DriveLetterTest, SetsTheDrive) {
    struct Case {
        const char* drive;
        const char* path;
        int result;
        const char* after;
    } const cases[] = {
        {"F:", "E:\\dis\\a", 1, "F:\\dis\\a"},
        {"F:", "\\dis\\a", 1, "F:\\dis\\a"},
        {"F:", "dis\\a", 1, "F:\\a"},
        {"F:", "dis", 0, "dis"},
        {"F:", "", 0, ""},
        // The drive text is taken as it is.
        {"", "E:\\dis", 1, "\\dis"},
        {"\\\\server\\share", "E:\\dis", 1, "\\\\server\\share\\dis"},
        {nullptr, "E:\\dis", 1, "\\dis"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        EXPECT_EQ(SetDriveLetter(c.drive, path), c.result);
        EXPECT_EQ(path, c.after);
    }
}

}  // namespace
}  // namespace knitcfg
