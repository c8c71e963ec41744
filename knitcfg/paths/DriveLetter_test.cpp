#include "knitcfg/paths/DriveLetter.h"

#include <gtest/gtest.h>

#include <string>

namespace knitcfg {
namespace {

// Each path with what GetDriveLetter gives, the path after DelDriveLetter,
// and the result and path of SetDriveLetter("F:").
TEST(DriveLetterTest, GetsDeletesAndSetsTheDrive) {
    struct Case {
        const char* path;
        const char* drive;
        const char* deleted;
        int set;
        const char* replaced;
    } const cases[] = {
        {"E:\\dis\\a", "E:", "\\dis\\a", 1, "F:\\dis\\a"},
        {"\\dis\\a", "", "\\dis\\a", 1, "F:\\dis\\a"},
        {"x E:\\a", "E:", "\\a", 1, "F:\\a"},
        {":\\dis", ":\\", "\\dis", 1, "F:\\dis"},
        {"E:dis", "", "E:dis", 0, "E:dis"},
        {"dis\\a", "", "dis\\a", 1, "F:\\a"},
        {"", "", "", 0, ""},
        {"ab:\\c:\\d", "b:", "\\c:\\d", 1, "F:\\c:\\d"},
        {"E:/dis/a", "", "E:/dis/a", 0, "E:/dis/a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetDriveLetter(c.path), c.drive);
        std::string path = c.path;
        DelDriveLetter(path);
        EXPECT_EQ(path, c.deleted);
        path = c.path;
        EXPECT_EQ(SetDriveLetter("F:", path), c.set);
        EXPECT_EQ(path, c.replaced);
    }
    EXPECT_EQ(GetDriveLetter(nullptr), "");
    std::string path = "E:\\dis";
    EXPECT_EQ(SetDriveLetter(nullptr, path), 1);  // null reads as ""
    EXPECT_EQ(path, "\\dis");
}

}  // namespace
}  // namespace knitcfg
