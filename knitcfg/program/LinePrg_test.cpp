#include "knitcfg/program/LinePrg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CaseTable.h"
#include "IniFileTest.h"
#include "knitcfg/actuators/LineActuators.h"

namespace knitcfg {
namespace {

// What lines do that colors do not; the rest is in ColorAndLine_test.cpp.
class LinePrgTest : public test::IniFileTest {
protected:
    // Loads `section` of `file` into a new line filed in lines_; returns the
    // line and stores the result in *code.
    LinePrg* Load(const char* section, const std::string& file, RETERROR* code) {
        auto* line = new LinePrg;
        *code = line->LoadSection(section, file.c_str(), 3, &lines_);
        return line;
    }

    std::vector<std::unique_ptr<LinePrg>> lines_;
};

TEST_F(LinePrgTest, LoadSectionNumberPlaneAndResult) {
    const std::string file = test::ProgramData("line-codes.ini");
    for (const auto& [section, expected] : test::ReadExpectations("program/line-codes.ini")) {
        SCOPED_TRACE(section);
        RETERROR code = RE_SUCCESS;
        LinePrg* line = Load(section.c_str(), file, &code);
        EXPECT_EQ(std::to_string(code) + " " + std::to_string(line->ID) + " " +
                      std::to_string(line->Plane),
                  expected);
        EXPECT_EQ(lines_.back().get(), line);  // filed whatever the result
    }
}

TEST_F(LinePrgTest, FilingTakesOwnershipOnce) {
    const std::string file = Ini("file.ini", "[Line_001]\nDrum_000=1, 1, 1\n");
    RETERROR code = RE_SUCCESS;
    LinePrg* line = Load("Line_001", file, &code);
    // Loaded again with the list that owns it: not filed a second time.
    line->LoadSection("Line_001", file.c_str(), 0, &lines_);
    EXPECT_EQ(lines_.size(), 1u);
    EXPECT_EQ(line->Attuats.size(), 1u);
    LinePrg own;
    EXPECT_EQ(own.LoadSection(nullptr, nullptr, 0, nullptr), RE_LINE_BAD_PLANE);
}

// Once per actuator with the identifier, duplicates and all; an identifier
// of -1 is no wildcard.
TEST_F(LinePrgTest, GetListLineAttuatAddsTheNumberPerActuator) {
    LinePrg line;
    line.ID = 13;
    line.Plane = 2;
    for (short id : {4, 4, -1, 5}) {
        auto* drum = new DrumLine;
        drum->Id = id;
        line.AddSorted(drum);
    }
    IndexList driving{13};
    EXPECT_EQ(line.GetListLineAttuat(&driving, 4, kAny), 1);
    EXPECT_EQ(line.GetListLineAttuat(&driving, -1, 2), 1);
    EXPECT_EQ(line.GetListLineAttuat(&driving, 5, 1), 1);
    EXPECT_EQ(driving, (IndexList{13, 13, 13, 13}));
}

}  // namespace
}  // namespace knitcfg
