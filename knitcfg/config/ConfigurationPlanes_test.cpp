// The document's plane steps: LoadPlanes, SavePlanes and CreatePlane, alone
// and as LoadCFG and SaveCFG run them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/program/FailingAllocation.h"
#include "knitcfg/program/ProgramTestUtil.h"

namespace knitcfg {
namespace {

using test::Crlf;

std::string PlaneData(const std::string& name) {
    return test::TestDataDir() + "/planes/" + name;
}

// Every plane of the document with its blocks, one line each.
std::vector<std::string> Planes(const Configuration& doc) {
    std::vector<std::string> out;
    for (const auto& plane : doc.Planes()) {
        std::string line = std::to_string(plane->Number) + " lines " +
                           std::to_string(plane->NumberOfLines) + " start " +
                           std::to_string(plane->StartBlock) + " [" + plane->Description +
                           "] prio " + std::to_string(plane->Priority);
        for (const auto& block : plane->Blocks) {
            line +=
                " {" + std::to_string(block->Number) + " " + std::to_string(block->Parameter) + ":";
            for (short value : block->Values) {
                line += " " + std::to_string(value);
            }
            line += "}";
        }
        out.push_back(line);
    }
    return out;
}

class ConfigurationPlanesTest : public ::testing::Test {
protected:
    std::string Ini(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, Crlf(text));
        return path;
    }

    // A copy of a plane test data file in the test's folder.
    std::string Copy(const std::string& name) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, test::ReadFile(PlaneData(name)));
        return path;
    }

    test::TempDir dir_;
    test::ScopedTempFolder tmp_{dir_.path()};
};

TEST_F(ConfigurationPlanesTest, EntriesWinOverSectionsAndTakeTheHeaderCounts) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Copy("example.ini").c_str()), RE_SUCCESS);
    // The plane section of the file is not read: no blocks.
    const std::vector<std::string> planes = {"1 lines 6 start 2 [Background] prio 0",
                                             "2 lines 6 start 2 [Pattern] prio 1"};
    EXPECT_EQ(Planes(doc), planes);

    const std::string saved = dir_.File("saved.ini");
    ASSERT_EQ(doc.SaveCFG(saved.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(saved), test::ReadFile(PlaneData("example.saved.ini")));

    Configuration again;
    ASSERT_EQ(again.LoadCFG(saved.c_str()), RE_SUCCESS);
    EXPECT_EQ(Planes(again), planes);
    ASSERT_EQ(again.SaveCFG(saved.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(saved), test::ReadFile(PlaneData("example.saved.ini")));
}

TEST_F(ConfigurationPlanesTest, SectionsAreReadWhenTheEntriesSectionHasNoKeys) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Copy("sections.ini").c_str()), RE_SUCCESS);
    // Each plane is numbered by its section's name and keeps its own counts;
    // "plane_003" differs in letter case and is not read.
    EXPECT_EQ(Planes(doc),
              (std::vector<std::string>{
                  "1 lines 4 start 0 [Background\r\nplane] prio 0 {1 2: 5 6 7} {2 1: 3}",
                  "2 lines 3 start 1 [Pattern] prio 2 {4 0: 9 8} {5 3:}"}));

    // Only plane entries are written, and the first plane's description, a
    // line break in it, cannot be: 42, the other plane written all the same.
    const std::string saved = dir_.File("saved.ini");
    EXPECT_EQ(doc.SaveCFG(saved.c_str()), RE_WRITE_PLANE);
    EXPECT_EQ(test::ReadFile(saved), test::ReadFile(PlaneData("sections.saved.ini")));

    Configuration again;
    ASSERT_EQ(again.LoadCFG(saved.c_str()), RE_SUCCESS);
    EXPECT_EQ(Planes(again), (std::vector<std::string>{"2 lines 6 start 2 [Pattern] prio 2"}));
}

TEST_F(ConfigurationPlanesTest, AnyKeyOfTheEntriesSectionShutsOutTheSections) {
    const std::string file = Ini("keys.ini", R"([ColorPlanes]
Note=no plane entry
plane_009=9, lower case, 0
[Plane_001]
NumberOfLines=4
StartBlock=0
Priority=0
Description=Section
)");
    Configuration doc;
    doc.SetPathName(file.c_str());
    EXPECT_EQ(doc.LoadPlanes(), RE_SUCCESS);
    EXPECT_TRUE(doc.Planes().empty());

    // Without the section, or with it empty, the sections are read, each
    // whatever it reports; any name that begins with "Plane_" is one.
    const std::string sections = Ini("sections.ini", R"([Plane_x]
Description=No counts
[Plane_002]
NumberOfLines=2
StartBlock=0
Priority=0
Description=Two
)");
    Configuration read;
    read.SetPathName(sections.c_str());
    EXPECT_EQ(read.LoadPlanes(), RE_SUCCESS);
    EXPECT_EQ(Planes(read), (std::vector<std::string>{"-1 lines -1 start -1 [No counts] prio -1",
                                                      "2 lines 2 start 0 [Two] prio 0"}));

    // Nothing to read is no fault either.
    Configuration none;
    none.SetPathName(dir_.File("missing.ini").c_str());
    EXPECT_EQ(none.LoadPlanes(), RE_SUCCESS);
    EXPECT_TRUE(none.Planes().empty());
}

TEST_F(ConfigurationPlanesTest, EntriesTakeTheHeaderCountsAsTheyStand) {
    const std::string file = Ini("entries.ini", R"([ColorPlanes]
Plane_003=3, Third, 4
Plane_001=1, First, 0
)");
    Configuration doc;
    doc.SetPathName(file.c_str());
    doc.HeaderSetProcessingRows(9);
    doc.HeaderSetStartBlockIndex(-7);
    EXPECT_EQ(doc.LoadPlanes(), RE_SUCCESS);
    EXPECT_EQ(Planes(doc), (std::vector<std::string>{"3 lines 9 start -7 [Third] prio 4",
                                                     "1 lines 9 start -7 [First] prio 0"}));
}

TEST_F(ConfigurationPlanesTest, CreatePlaneAppendsWithTheHeaderCounts) {
    Configuration doc("KM-400", 2, 7, 8);
    EXPECT_EQ(doc.CreatePlane(2, "Pattern", 1), RE_SUCCESS);
    doc.HeaderSetStartBlockIndex(3);
    EXPECT_EQ(doc.CreatePlane(2, nullptr, 70000), RE_SUCCESS);  // no check for the number
    EXPECT_EQ(doc.CreatePlane(65537, "Wide", -1), RE_SUCCESS);
    EXPECT_EQ(Planes(doc), (std::vector<std::string>{"2 lines 8 start 0 [Pattern] prio 1",
                                                     "2 lines 8 start 3 [] prio 4464",
                                                     "1 lines 8 start 3 [Wide] prio -1"}));
}

TEST_F(ConfigurationPlanesTest, CreatePlaneThatCannotBeMadeGives12) {
    KNITCFG_REQUIRE_FAILING_ALLOCATION();
    Configuration doc;
    ASSERT_EQ(doc.CreatePlane(1, "First", 0), RE_SUCCESS);
    for (int skip = 0; skip < 2; ++skip) {
        SCOPED_TRACE(skip);  // the plane itself, then the room in the list
        RETERROR code;
        bool failed;
        {
            test::FailingAllocation failing(skip);
            code = doc.CreatePlane(2, "Second", 0);
            failed = failing.Failed();
        }
        ASSERT_TRUE(failed);
        EXPECT_EQ(code, RE_PLANE_NOT_ADDED);
        EXPECT_EQ(Planes(doc), (std::vector<std::string>{"1 lines -1 start 0 [First] prio 0"}));
    }
}

TEST_F(ConfigurationPlanesTest, SavePlanesWritesEveryPlaneAndReportsTheFirstFailure) {
    const std::string file = Ini("planes.ini", "[ColorPlanes]\nPlane_009=9, Kept, 0\n");
    Configuration doc;
    doc.SetPathName(file.c_str());
    EXPECT_EQ(doc.CreatePlane(1, "One", 0), RE_SUCCESS);
    EXPECT_EQ(doc.CreatePlane(2, "Two\r\nlines", 0), RE_SUCCESS);
    EXPECT_EQ(doc.CreatePlane(3, "Three", 5), RE_SUCCESS);
    EXPECT_EQ(doc.SavePlanes(), RE_WRITE_PLANE);
    EXPECT_EQ(test::ReadFile(file), Crlf(R"([ColorPlanes]
Plane_009=9, Kept, 0
Plane_001=1, One, 0
Plane_003=3, Three, 5
)"));

    // A file that cannot be written.
    doc.ReleaseCFG();
    EXPECT_EQ(doc.CreatePlane(1, "One", 0), RE_SUCCESS);
    doc.SetPathName(dir_.File("no/such/folder.ini").c_str());
    EXPECT_EQ(doc.SavePlanes(), RE_WRITE_PLANE);

    // Nothing to write is no fault, and writes nothing.
    Configuration empty;
    empty.SetPathName(dir_.File("empty.ini").c_str());
    EXPECT_EQ(empty.SavePlanes(), RE_SUCCESS);
    EXPECT_FALSE(test::FileExists(dir_.File("empty.ini")));
}

TEST_F(ConfigurationPlanesTest, PlanesAreCopiedReleasedAndAddedTo) {
    const std::string file = Copy("sections.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    const std::vector<std::string> once = Planes(doc);

    const Configuration copy(doc);
    EXPECT_EQ(Planes(copy), once);
    EXPECT_NE(copy.Planes()[0].get(), doc.Planes()[0].get());
    EXPECT_NE(copy.Planes()[0]->Blocks[0].get(), doc.Planes()[0]->Blocks[0].get());

    // A second load without release adds the planes again.
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.GetPlanesCount(), 4);
    EXPECT_EQ(doc.Planes()[2]->Number, 1);

    doc.ReleaseCFG();
    EXPECT_TRUE(doc.Planes().empty());
    EXPECT_EQ(Planes(copy), once);
}

}  // namespace
}  // namespace knitcfg
