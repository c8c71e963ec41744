// What colors and lines share: the actuator list sorted by feed, the merge by
// identifier, the kind queries, copies and the section they save.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CaseTable.h"
#include "IniFileTest.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/program/ColorPrg.h"
#include "knitcfg/program/LinePrg.h"

namespace knitcfg {
namespace {

// The lines of `text` from the header of `section` up to the next header.
std::string SectionOf(const std::string& text, const std::string& section) {
    const std::size_t start = text.find("[" + section + "]");
    const std::size_t end = text.find("\r\n[", start);
    return start == std::string::npos
               ? ""
               : text.substr(start, end == std::string::npos ? end : end + 2 - start);
}

struct ColorTraits {
    using Holder = ColorPrg;
    using Drum = DrumColor;
    static constexpr const char* kPrefix = "Color_";
    static constexpr const char* kEntries = "Finger_000=2, 1, 1, 0\nDrum_000=1, 3, 3, 7\n";
    static constexpr std::size_t kHelpRead = 259;
    static constexpr auto kFirstKind = &ColorPrg::GetListTriangle;  // the first prototype's
    static constexpr auto kNumbers = &ColorPrg::GetListColors;
    static const std::vector<Attuat*>& Prototypes() { return detail::ColorPrototypes(); }
    static RETERROR Load(ColorPrg& color, const char* section, const std::string& file) {
        return color.LoadSection(section, file.c_str());
    }
    static RETERROR Save(ColorPrg& color, const char* file) { return color.SaveColor(file); }
};

struct LineTraits {
    using Holder = LinePrg;
    using Drum = DrumLine;
    static constexpr const char* kPrefix = "Line_";
    static constexpr const char* kEntries = "Finger_000=2, 1, 1\nDrum_000=1, 3, 3\n";
    static constexpr std::size_t kHelpRead = 511;
    static constexpr auto kFirstKind = &LinePrg::GetListDrum;
    static constexpr auto kNumbers = &LinePrg::GetListLines;
    static const std::vector<Attuat*>& Prototypes() { return detail::LinePrototypes(); }
    static RETERROR Load(LinePrg& line, const char* section, const std::string& file) {
        return line.LoadSection(section, file.c_str(), 0, nullptr);
    }
    static RETERROR Save(LinePrg& line, const char* file) { return line.SaveLine(file); }
};

template <class Traits>
class ColorAndLineTest : public test::IniFileTest {
protected:
    using Holder = typename Traits::Holder;

    // A holder of plane 3 numbered 2 with, for each prototype i, an actuator
    // of its kind with identifier i + 1 and feed 1 and one with identifier
    // 10 + i and feed 2.
    static void FillOneOfEach(Holder& holder) {
        holder.ID = 2;
        holder.Plane = 3;
        const std::vector<Attuat*>& prototypes = Traits::Prototypes();
        for (short i = 0; i < static_cast<short>(prototypes.size()); ++i) {
            for (short feed : {2, 1}) {
                Attuat* actuator = prototypes[i]->Clone();
                actuator->Id = static_cast<short>(feed == 1 ? i + 1 : i + 10);
                actuator->Caduta = feed;
                holder.AddSorted(actuator);
            }
        }
    }
};

using Families = ::testing::Types<ColorTraits, LineTraits>;
TYPED_TEST_SUITE(ColorAndLineTest, Families);

TYPED_TEST(ColorAndLineTest, GoldenSectionsLoadAndSaveAsWritten) {
    for (const auto& row : test::ReadCaseTable("program/sections.tsv")) {
        ASSERT_EQ(row.size(), 4u);
        const std::string& section = row[1];
        if (section.rfind(TypeParam::kPrefix, 0) != 0) {
            continue;
        }
        SCOPED_TRACE(section);
        const std::string expected = test::ReadFile(test::ProgramData(row[3]));
        const std::string source = this->dir_.File("source-" + row[0]);
        if (!test::FileExists(source)) {
            test::WriteFile(source, test::ReadFile(test::ProgramData(row[0])));
        }
        typename TypeParam::Holder holder;
        EXPECT_EQ(std::to_string(TypeParam::Load(holder, section.c_str(), source)), row[2]);
        const std::string fresh = this->dir_.File("fresh-" + section);
        EXPECT_EQ(TypeParam::Save(holder, fresh.c_str()), RE_SUCCESS);
        EXPECT_EQ(test::ReadFile(fresh), SectionOf(expected, section));
        EXPECT_EQ(TypeParam::Save(holder, source.c_str()), RE_SUCCESS);
        EXPECT_EQ(test::ReadFile(source), expected);
    }
}

// Loading adds to what the holder has: an entry merges into the actuator of
// its identifier, which keeps its place; a missing help keeps the text.
TYPED_TEST(ColorAndLineTest, LoadingMergesIntoWhatIsHeld) {
    const std::string prefix = TypeParam::kPrefix;
    const std::string file =
        this->Ini("more.ini", "[" + prefix + "004]\nID=4\nPlane=1\n" + TypeParam::kEntries);
    typename TypeParam::Holder holder;
    holder.Help = "kept";
    auto* drum = new typename TypeParam::Drum;
    drum->Id = 1;
    drum->Caduta = 5;
    holder.AddSorted(drum);
    TypeParam::Load(holder, (prefix + "004").c_str(), file);
    EXPECT_EQ(holder.Help, "kept");
    ASSERT_EQ(holder.Attuats.size(), 2u);
    EXPECT_EQ(holder.Attuats[1].get(), drum);
    EXPECT_EQ(drum->Caduta, 3);
}

// Read through a limit of characters, backslash-n turned into CR LF.
TYPED_TEST(ColorAndLineTest, HelpIsReadThroughItsLimit) {
    const std::string prefix = TypeParam::kPrefix;
    const std::string file =
        this->Ini("long.ini", "[" + prefix + "001]\nHelp=a\\nb" + std::string(600, 'h'));
    typename TypeParam::Holder holder;
    TypeParam::Load(holder, (prefix + "001").c_str(), file);
    EXPECT_EQ(holder.Help, "a\r\nb" + std::string(TypeParam::kHelpRead - 4, 'h'));
}

// The kind queries share one filter (the document's tests show each kind):
// identifiers appended in list order, one the list holds not again.
TYPED_TEST(ColorAndLineTest, KindQueryFiltersByPlaneAndNumber) {
    typename TypeParam::Holder holder;
    this->FillOneOfEach(holder);
    const auto query = TypeParam::kFirstKind;
    IndexList list{99};
    EXPECT_EQ((holder.*query)(&list, kAny, kAny), 1);
    EXPECT_EQ((holder.*query)(&list, 3, 2), 1);
    EXPECT_EQ(list, (IndexList{99, 1, 10}));
    IndexList none;
    EXPECT_EQ((holder.*query)(&none, 1, kAny), 1);
    EXPECT_EQ((holder.*query)(&none, kAny, 5), 1);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(holder.GetAttuat(1), holder.Attuats[0].get());
    EXPECT_EQ(holder.GetAttuat(99), nullptr);

    IndexList numbers;
    for (short plane : {kAny, short{3}, short{1}}) {
        EXPECT_EQ((holder.*TypeParam::kNumbers)(&numbers, plane), 1);
    }
    EXPECT_EQ(numbers, IndexList{2});
}

TYPED_TEST(ColorAndLineTest, AddSortedAndRemoveAttuatHandOverOwnership) {
    typename TypeParam::Holder holder;
    this->FillOneOfEach(holder);
    const std::size_t count = holder.Attuats.size();
    Attuat* held = holder.Attuats[0].get();
    holder.AddSorted(held);     // held already: ignored
    holder.AddSorted(nullptr);  // ignored
    EXPECT_EQ(holder.Attuats.size(), count);

    typename TypeParam::Drum stranger;
    EXPECT_EQ(holder.RemoveAttuat(&stranger), 0);
    EXPECT_EQ(holder.RemoveAttuat(nullptr), 0);
    EXPECT_EQ(holder.RemoveAttuat(held), 1);
    const std::unique_ptr<Attuat> owned(held);  // the caller's now
    EXPECT_EQ(holder.Attuats.size(), count - 1);
    EXPECT_EQ(holder.RemoveAttuat(held), 0);
}

TYPED_TEST(ColorAndLineTest, RefusedWriteGives38) {
    typename TypeParam::Holder holder;
    EXPECT_EQ(TypeParam::Save(holder, nullptr), RE_WRITE_SECTION);
    EXPECT_EQ(TypeParam::Save(holder, this->dir_.File("no/such/folder.ini").c_str()),
              RE_WRITE_SECTION);
}

}  // namespace
}  // namespace knitcfg
