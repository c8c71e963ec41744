#include "knitcfg/designs/CShavedDis.h"

#include <gtest/gtest.h>

#include <string>

#include "CaseTable.h"
#include "IniFileTest.h"

namespace knitcfg {
namespace {

// code|name|first|second|third|elements
std::string Describe(RETERROR code, const CShavedDis& entry) {
    std::string out = std::to_string(code) + "|" + entry.Name + "|" + std::to_string(entry.First) +
                      "|" + std::to_string(entry.Second) + "|" + std::to_string(entry.Third) + "|";
    for (std::size_t i = 0; i < entry.Elements.size(); ++i) {
        out += (i > 0 ? " " : "") + std::to_string(entry.Elements[i]);
    }
    return out;
}

class CShavedDisTest : public test::IniFileTest {};

TEST_F(CShavedDisTest, ReadsLines) {
    for (const auto& row : test::ReadCaseTable("designs/shaved-lines.tsv")) {
        ASSERT_EQ(row.size(), 2u);
        SCOPED_TRACE(row[0]);
        CShavedDis entry;
        entry.Name = "old";
        entry.First = 91;
        entry.Second = 92;
        entry.Third = 93;
        entry.Elements = {5};
        const RETERROR code = entry.Load(row[0].c_str());
        EXPECT_EQ(Describe(code, entry), row[1]);
    }
    CShavedDis entry;
    EXPECT_EQ(Describe(entry.Load(nullptr), entry), "37||0|0|0|");
}

TEST_F(CShavedDisTest, WritesItsLine) {
    const std::string file =
        Write("s.ini", {"[ShavedDis]", "motif=0, 0, 0,<1>", "other=1, 1, 1,<1>"});
    CShavedDis entry;
    ASSERT_EQ(entry.Load("MOTIF=1, 2, 3,<10><20><30>"), RE_SUCCESS);
    EXPECT_EQ(entry.Save(file.c_str()), RE_SUCCESS);
    CShavedDis wide(entry);
    entry.Elements.clear();
    wide.Name = "wide";
    wide.First = -5;
    wide.Elements = {4294967295U, 2147483648U, 7};
    EXPECT_EQ(wide.Save(file.c_str()), RE_SUCCESS);
    // Written with no elements too: only the document skips such entries.
    CShavedDis bare;
    bare.Name = "bare";
    EXPECT_EQ(bare.Save(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file),
              Text({"[ShavedDis]", "motif=1, 2, 3,<10><20><30>", "other=1, 1, 1,<1>",
                    "wide=-5, 2, 3,<-1><-2147483648><7>", "bare=0, 0, 0,"}));

    bare.Name = ";comment";
    EXPECT_EQ(bare.Save(file.c_str()), RE_WRITE_SHAVED);
    EXPECT_EQ(entry.Save(dir_.File("missing/s.ini").c_str()), RE_WRITE_SHAVED);
}

}  // namespace
}  // namespace knitcfg
