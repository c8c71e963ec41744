// The fourteen actuator classes, tested as one family table: every row is a
// class with its prefix, slots, sample entry and codes, and every test runs
// over the rows. Rules of single classes follow the family tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/actuators/detail/PreReadEntry.h"
#include "knitcfg/knitcfg.h"
#include "knitcfg/profile/detail/FileCache.h"

namespace knitcfg {
namespace {

using AddListSlot = int (Attuat::*)(IndexList*) const;
using WriterSlot = RETERROR (Attuat::*)(const char*, const char*, int*) const;

// In slot order.
const AddListSlot kAddListSlots[] = {&Attuat::AddListDrum,      &Attuat::AddListFinger,
                                     &Attuat::AddListSplitter,  &Attuat::AddListTriangle,
                                     &Attuat::AddListStepMotor, &Attuat::AddListStepMotorDis,
                                     &Attuat::AddListSpeeder};
const WriterSlot kWriterSlots[] = {
    &Attuat::SaveDrumColor,        &Attuat::SaveFingerColor,    &Attuat::SaveSplitterColor,
    &Attuat::SaveTriangleColor,    &Attuat::SaveStepMotorColor, &Attuat::SaveStepMotorDisColor,
    &Attuat::SaveSpeederColor,     &Attuat::SaveDrumLine,       &Attuat::SaveFingerLine,
    &Attuat::SaveSplitterLine,     &Attuat::SaveTriangleLine,   &Attuat::SaveStepMotorLine,
    &Attuat::SaveStepMotorDisLine, &Attuat::SaveSpeederLine};
const char* const kPrefixes[] = {"Drum_",          "Finger_",           "Splitter_", "Triangle_",
                                 "SteppingMotor_", "SteppingMotorDis_", "Speeder_"};

// Getter groups that a class may override.
enum Overrides : unsigned { kNone = 0, kStato = 1, kQuota = 2, kVelocita = 4, kDesign = 8 };

struct KindCase {
    const char* name;
    int kind;  // index into kPrefixes and kAddListSlots
    bool color;
    unsigned overrides;
    std::function<std::unique_ptr<Attuat>()> create;
    const char* sample;  // a value as the class writes it
    const char* parsed;  // Describe() of the object read from `sample`
    RETERROR loadCode;
    RETERROR configureCode;
    RETERROR saveCode;
    const char* fresh;   // the value of a new object as written
    unsigned readLimit;  // characters of a value that the class reads

    const char* prefix() const { return kPrefixes[kind]; }
    WriterSlot writer() const { return kWriterSlots[kind + (color ? 0 : 7)]; }
    AddListSlot addList() const { return kAddListSlots[kind]; }
    bool blankSeparated() const { return color && kind == 5; }
};

template <class T>
KindCase Row(const char* name, int kind, bool color, unsigned overrides,
             int (T::*)(const char*, const char*, const char*, RETERROR*),  // its configure
             const char* sample, const char* parsed, RETERROR load, RETERROR config, RETERROR save,
             const char* fresh = "-32768, -32768, -32768", unsigned readLimit = 511) {
    KindCase c{name,   kind, color,  overrides, nullptr, sample,
               parsed, load, config, save,      fresh,   readLimit};
    c.create = [] { return std::unique_ptr<Attuat>(std::make_unique<T>()); };
    return c;
}

constexpr char kBaseDesign[] = "-1,-1,-1,-1,-1,-1||";

// Every field that the interface shows: "Id,Caduta,IdCaduta|Stato|Quota|
// Velocita", then, unless they give the base results, "|BilancFin,
// BilancIniz,RampaFinRanghi,RampaInizRanghi,RampaFinAghi,RampaInizAghi|
// QuotaRanghi|QuotaAghi".
std::string Describe(const Attuat& a) {
    const std::string design =
        std::to_string(a.GetBilancFin()) + "," + std::to_string(a.GetBilancIniz()) + "," +
        std::to_string(a.GetRampaFinRanghi()) + "," + std::to_string(a.GetRampaInizRanghi()) + "," +
        std::to_string(a.GetRampaFinAghi()) + "," + std::to_string(a.GetRampaInizAghi()) + "|" +
        a.GetQuotaRanghi() + "|" + a.GetQuotaAghi();
    return std::to_string(a.Id) + "," + std::to_string(a.Caduta) + "," +
           std::to_string(a.IdCaduta) + "|" + std::to_string(a.GetStato()) + "|" +
           std::to_string(a.GetQuota()) + "|" + a.GetVelocita() +
           (design == kBaseDesign ? "" : "|" + design);
}

const std::vector<KindCase>& Kinds() {
    static constexpr char kFour[] = "-32768, -32768, -32768, -32768";
    static const std::vector<KindCase> kinds = {
        Row("DrumColor", 0, true, kStato, &DrumColor::ConfigureDrum, "3, 1, 2, 0", "3,1,2|0|32768|",
            RE_DRUM_COLOR_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_DRUM, kFour, 259),
        Row("FingerColor", 1, true, kStato, &FingerColor::ConfigureFinger, "-4, 5, 6, 1",
            "-4,5,6|1|32768|", RE_FINGER_COLOR_ENTRY, RE_FINGER_COLOR_ENTRY, RE_WRITE_FINGER,
            kFour),
        Row("SplitterColor", 2, true, kStato, &SplitterColor::ConfigureSplitter, "7, 8, 9, -2",
            "7,8,9|-2|32768|", RE_SPLITTER_COLOR_ENTRY, RE_SPLITTER_COLOR_ENTRY, RE_WRITE_SPLITTER,
            kFour),
        Row("TriangleColor", 3, true, kStato, &TriangleColor::ConfigureTriangle, "10, 11, 12, 3",
            "10,11,12|3|32768|", RE_TRIANGLE_COLOR_ENTRY, RE_TRIANGLE_COLOR_ENTRY,
            RE_WRITE_TRIANGLE, kFour),
        Row("StepMotorColor", 4, true, kStato | kQuota, &StepMotorColor::ConfigureStepMotor,
            "13, 14, 15, 2, -100000", "13,14,15|2|-100000|", RE_STEPMOTOR_COLOR_ENTRY,
            RE_STEPMOTOR_COLOR_ENTRY, RE_WRITE_STEPMOTOR, "-32768, -32768, -32768, -32768, 32768"),
        Row("StepMotorDisColor", 5, true, kDesign, &StepMotorDisColor::ConfigureStepMotorDis,
            "5 2 1 +12.500 10 20 -3.250 30 40 1 2",
            "5,2,1|-32768|32768||2,1,40,30,20,10|-3.250|+12.500", RE_STEPMOTORDIS_COLOR_ENTRY,
            RE_STEPMOTORDIS_COLOR_ENTRY, RE_WRITE_STEPMOTORDIS_COLOR,
            "-32768 -32768 -32768 +0.000 0 0 +0.000 0 0 0 0"),
        Row("SpeederColor", 6, true, kVelocita, &SpeederColor::ConfigureSpeeder,
            "7, 2, 0, -1.2500000", "7,2,0|-32768|32768|-1.2500000", RE_SPEEDER_COLOR_ENTRY,
            RE_SPEEDER_COLOR_ENTRY, RE_WRITE_SPEEDER, "-32768, -32768, -32768, +0.000"),
        Row("DrumLine", 0, false, kNone, &DrumLine::ConfigureDrumLine, "3, 1, 2",
            "3,1,2|-32768|32768|", RE_DRUM_LINE_ENTRY, RE_DRUM_LINE_ENTRY, RE_WRITE_DRUM),
        Row("FingerLine", 1, false, kNone, &FingerLine::ConfigureFingerLine, "2, 4, 0",
            "2,4,0|-32768|32768|", RE_FINGER_LINE_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_FINGER),
        Row("SplitterLine", 2, false, kNone, &SplitterLine::ConfigureSplitterLine, "-1, -2, -3",
            "-1,-2,-3|-32768|32768|", RE_SPLITTER_LINE_ENTRY, RE_DRUM_COLOR_ENTRY,
            RE_WRITE_SPLITTER),
        Row("TriangleLine", 3, false, kNone, &TriangleLine::ConfigureTriangleLine, "20, 21, 22",
            "20,21,22|-32768|32768|", RE_TRIANGLE_LINE_ENTRY, RE_DRUM_COLOR_ENTRY,
            RE_WRITE_TRIANGLE),
        Row("StepMotorLine", 4, false, kNone, &StepMotorLine::ConfigureStepMotorLine, "30, 31, 32",
            "30,31,32|-32768|32768|", RE_STEPMOTOR_LINE_ENTRY, RE_STEPMOTOR_LINE_ENTRY,
            RE_WRITE_STEPMOTOR),
        Row("StepMotorDisLine", 5, false, kNone, &StepMotorDisLine::ConfigureStepMotorDisLine,
            "40, 41, 42", "40,41,42|-32768|32768|", RE_STEPMOTOR_LINE_ENTRY,
            RE_STEPMOTORDIS_LINE_EMPTY, RE_WRITE_STEPMOTOR),
        Row("SpeederLine", 6, false, kNone, &SpeederLine::ConfigureSpeederLine, "50, 51, 52",
            "50,51,52|-32768|32768|", RE_SPEEDER_LINE_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_SPEEDER),
    };
    return kinds;
}

class ActuatorsTest : public ::testing::Test {
protected:
    // Writes `text` as the file `name` in the test folder; returns its path.
    std::string File(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, text);
        return path;
    }

    // A file holding one section "S" with one entry.
    std::string Entry(const std::string& key, const std::string& value) {
        return File("entry.ini", "[S]\n" + key + "=" + value + "\n");
    }

    // An object of the row's class configured from its sample entry.
    std::unique_ptr<Attuat> Sampled(const KindCase& c) {
        const std::string file = Entry(std::string(c.prefix()) + "000", c.sample);
        std::unique_ptr<Attuat> a = c.create();
        EXPECT_EQ(
            a->UpdateObj("S", (c.prefix() + std::string("000")).c_str(), file.c_str(), nullptr), 1);
        return a;
    }

    test::TempDir dir_;
};

TEST_F(ActuatorsTest, EntryIsParsedAndWrittenBackInTheKindsFormat) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        const std::string file = Entry(std::string(c.prefix()) + "007", c.sample);
        std::unique_ptr<Attuat> prototype = c.create();
        EXPECT_EQ(prototype->SaveStringAttuat(nullptr), std::string(c.prefix()) + "000=" + c.fresh);
        RETERROR err = RE_WRONG_KIND;
        std::unique_ptr<Attuat> a(
            prototype->LoadObj("S", (std::string(c.prefix()) + "007").c_str(), file.c_str(), &err));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(err, RE_SUCCESS);
        EXPECT_EQ(Describe(*a), c.parsed);
        // The prototype keeps the values of the last entry it took.
        EXPECT_EQ(Describe(*prototype), c.parsed);

        int counter = 4;
        EXPECT_EQ(a->SaveStringAttuat(&counter), std::string(c.prefix()) + "004=" + c.sample);
        EXPECT_EQ(counter, 5);

        const std::string out = dir_.File(std::string(c.name) + ".ini");
        counter = 2;
        EXPECT_EQ((a.get()->*c.writer())("T", out.c_str(), &counter), RE_SUCCESS);
        EXPECT_EQ(counter, 3);
        EXPECT_EQ(test::ReadFile(out),
                  std::string("[T]\r\n") + c.prefix() + "002=" + c.sample + "\r\n");
    }
}

// A key is taken when it begins with the kind's prefix, letter case included;
// the entry number is neither parsed nor required.
TEST_F(ActuatorsTest, KeyIsMatchedByItsPrefixOnly) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        std::string lower = c.prefix();
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        std::vector<std::string> refused{lower + "000", std::string(c.prefix()).substr(0, 4), "ID"};
        for (const char* prefix : kPrefixes) {
            if (prefix != c.prefix()) {
                refused.push_back(std::string(prefix) + "000");
            }
        }
        std::unique_ptr<Attuat> a = Sampled(c);
        for (const std::string& key : refused) {
            const std::string file = Entry(key, c.sample);  // a value every kind would parse
            RETERROR err = RE_SUCCESS;
            EXPECT_EQ(a->LoadObj("S", key.c_str(), file.c_str(), &err), nullptr) << key;
            EXPECT_EQ(err, c.loadCode) << key;
            EXPECT_EQ(a->UpdateObj("S", key.c_str(), file.c_str(), &err), 0) << key;
            EXPECT_EQ(err, RE_WRONG_KIND) << key;
            EXPECT_EQ(Describe(*a), c.parsed) << key;
        }
        for (const std::string suffix : {"", "anything", "1000", "000 "}) {
            const std::string key = c.prefix() + suffix;
            const std::string file = Entry(key, c.sample);
            std::unique_ptr<Attuat> taken(
                c.create()->LoadObj("S", key.c_str(), file.c_str(), nullptr));
            ASSERT_NE(taken, nullptr) << key;
        }
    }
}

TEST_F(ActuatorsTest, FailuresGiveTheKindsCodesAndKeepTheFields) {
    const std::string nowhere = dir_.File("missing/folder.ini");
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        const std::string key = std::string(c.prefix()) + "000";
        std::unique_ptr<Attuat> a = Sampled(c);
        std::vector<std::string> values{"", "   ", "\"\""};
        if (c.overrides & (kVelocita | kDesign)) {
            // A text longer than its room of 10 characters is refused, not cut.
            values.push_back(c.blankSeparated() ? "1 2 3 x 4 5 12345678901 6 7 8 9"
                                                : "1, 2, 3, 12345678901");
        }
        for (const std::string& value : values) {
            const std::string file = Entry(key, value);
            RETERROR err = RE_SUCCESS;
            EXPECT_EQ(a->UpdateObj("S", key.c_str(), file.c_str(), &err), 0);
            EXPECT_EQ(err, c.configureCode);
            EXPECT_EQ(a->LoadObj("S", key.c_str(), file.c_str(), &err), nullptr);
            EXPECT_EQ(err, c.loadCode);
            EXPECT_EQ(a->LoadObj("S", nullptr, file.c_str(), &err), nullptr);
            EXPECT_EQ(a->LoadObj(nullptr, key.c_str(), nullptr, nullptr), nullptr);
            EXPECT_EQ(Describe(*a), c.parsed);
        }
        int counter = 7;
        EXPECT_EQ((a.get()->*c.writer())("S", nowhere.c_str(), &counter), c.saveCode);
        EXPECT_EQ(counter, 8);
        // A section name that would not read back is refused the same way.
        const std::string file = dir_.File("refused.ini");
        EXPECT_EQ((a.get()->*c.writer())("S]", file.c_str(), &counter), c.saveCode);
        EXPECT_EQ(counter, 9);
        EXPECT_EQ((a.get()->*c.writer())(nullptr, file.c_str(), nullptr), c.saveCode);
        EXPECT_EQ((a.get()->*c.writer())("S", nullptr, nullptr), c.saveCode);
        EXPECT_FALSE(test::FileExists(file));
    }
}

// The slots of other kinds, and the getters a class does not override, give
// the base results: an index list or writer slot reaches one kind only.
TEST_F(ActuatorsTest, SlotsOfOtherKindsGiveTheBaseResults) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Attuat> a = Sampled(c);
        IndexList list{99};
        for (AddListSlot slot : kAddListSlots) {
            EXPECT_EQ((a.get()->*slot)(&list), 1);
        }
        EXPECT_EQ((a.get()->*c.addList())(&list), 1);  // once only, even when asked again
        EXPECT_EQ(list, (IndexList{99, a->Id}));
        EXPECT_EQ((a.get()->*c.addList())(nullptr), 1);
        const std::string file = dir_.File("filter.ini");
        for (WriterSlot slot : kWriterSlots) {
            int counter = 3;
            if (slot != c.writer()) {
                EXPECT_EQ((a.get()->*slot)("S", file.c_str(), &counter), RE_SUCCESS);
                EXPECT_EQ(counter, 3);
            }
        }
        EXPECT_FALSE(test::FileExists(file));

        a->SetStato(77);
        a->SetQuota(-77);
        a->SetVelocita("9.9");
        EXPECT_EQ(a->GetStato(), (c.overrides & kStato) ? 77 : -32768);
        EXPECT_EQ(a->GetQuota(), (c.overrides & kQuota) ? -77 : 32768);
        EXPECT_EQ(a->GetVelocita(), (c.overrides & kVelocita) ? "9.9" : "");
    }
}

TEST_F(ActuatorsTest, ValueIsCutToTheReadBufferBeforeItIsParsed) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        // The third number's digits end exactly at the limit, or one past it.
        const std::string head = c.blankSeparated() ? "3 1 " : "3, 1, ";
        const std::string key = std::string(c.prefix()) + "000";
        for (unsigned length : {c.readLimit, c.readLimit + 1}) {
            const std::string value = head + std::string(length - head.size() - 2, '0') + "75";
            const std::string file = Entry(key, value);
            // Read from the file, and handed over by a section load that read
            // the whole value already: the same cut.
            for (bool preRead : {false, true}) {
                const char* const section = "S";
                entry::ScanResult scratch;
                std::optional<detail::PreReadEntry> pre;
                if (preRead) {
                    pre.emplace(section, key.c_str(), file.c_str(), value, detail::ChangeCount(),
                                &scratch);
                }
                std::unique_ptr<Attuat> a = c.create();
                RETERROR err = RE_WRONG_KIND;
                EXPECT_EQ(a->UpdateObj(section, key.c_str(), file.c_str(), &err), 1);
                EXPECT_EQ(a->IdCaduta, length == c.readLimit ? 75 : 7) << length << " " << preRead;
            }
        }
    }
}

TEST_F(ActuatorsTest, ItemsMissingFromAValueTakeTheirDefaults) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        const std::string key = std::string(c.prefix()) + "000";
        std::unique_ptr<Attuat> a = Sampled(c);  // full values first
        const std::string file = Entry(key, c.blankSeparated() ? "3 1" : "3, 1");
        EXPECT_EQ(a->UpdateObj("S", key.c_str(), file.c_str(), nullptr), 1);
        // A new object's value with the first two items replaced.
        const std::string firstTwo = c.blankSeparated() ? "-32768 -32768" : "-32768, -32768";
        std::string expected = c.fresh;
        expected.replace(0, firstTwo.size(), c.blankSeparated() ? "3 1" : "3, 1");
        if (c.overrides & (kVelocita | kDesign)) {
            // Texts that the parse did not reach become empty.
            for (std::string::size_type at; (at = expected.find("+0.000")) != std::string::npos;) {
                expected.erase(at, 6);
            }
        }
        EXPECT_EQ(a->SaveStringAttuat(nullptr), key + "=" + expected);
    }
}

TEST_F(ActuatorsTest, SixteenBitFieldsKeepTheirLowBitsAndQuotaAll32) {
    const std::string file = File("wide.ini",
                                  "[S]\nSteppingMotor_000=70000, 1, 2, 98304, -2147483648\n"
                                  "SteppingMotorDis_000=1 0 0 a 65536 -65537 b 1 1 1 32768\n");
    StepMotorColor motor;
    ASSERT_EQ(motor.ConfigureStepMotor("S", "SteppingMotor_000", file.c_str(), nullptr), 1);
    EXPECT_EQ(Describe(motor), "4464,1,2|-32768|-2147483648|");
    EXPECT_EQ(motor.SaveStringAttuat(nullptr), "SteppingMotor_000=4464, 1, 2, -32768, -2147483648");
    StepMotorDisColor design;
    ASSERT_EQ(design.ConfigureStepMotorDis("S", "SteppingMotorDis_000", file.c_str(), nullptr), 1);
    EXPECT_EQ(Describe(design), "1,0,0|-32768|32768||-32768,1,1,1,-1,0|b|a");
    // A null section or key reads nothing: the profile layer would list names.
    EXPECT_EQ(motor.ConfigureStepMotor(nullptr, "SteppingMotor_000", file.c_str(), nullptr), 0);
    EXPECT_EQ(design.ConfigureStepMotorDis("S", nullptr, file.c_str(), nullptr), 0);
}

TEST_F(ActuatorsTest, CounterAtItsLimitWrapsInsteadOfOverflowing) {
    int counter = INT_MAX;
    EXPECT_EQ(DrumLine().SaveStringAttuat(&counter), "Drum_2147483647=-32768, -32768, -32768");
    EXPECT_EQ(counter, INT_MIN);
}

TEST_F(ActuatorsTest, AlreadyInListComparesTheFirstNumberWithId) {
    const std::string file = File("ids.ini",
                                  "[S]\nID=3\nPlane=3, x\nDrum_000=3, 1, 2, 0\nFinger_000= -3, 1\n"
                                  "Empty=\nWord=abc\nWide=65539\nSigned=  +3,x\nQuoted=\"3\"\n");
    DrumLine line;  // the same operation for every kind
    line.Id = 3;
    const std::pair<const char*, int> cases[] = {
        {"ID", 1},   {"Plane", 1}, {"Drum_000", 1}, {"Finger_000", 0}, {"Empty", 0},
        {"Word", 0}, {"Wide", 0},  {"Signed", 1},   {"Quoted", 1},     {"Missing", 0}};
    for (const auto& [key, expected] : cases) {
        EXPECT_EQ(line.AlreadyInList("S", key, file.c_str()), expected) << key;
    }
    // A missing key reads as "0".
    line.Id = 0;
    EXPECT_EQ(line.AlreadyInList("S", "Missing", file.c_str()), 1);
    EXPECT_EQ(line.AlreadyInList(nullptr, "ID", file.c_str()), 0);
    EXPECT_EQ(line.AlreadyInList("S", nullptr, file.c_str()), 0);
}

TEST_F(ActuatorsTest, AttuatItselfTakesNothingAndWritesNothing) {
    const std::string file = Entry("Drum_000", "3, 1, 2, 0");
    Attuat a;
    a.Id = 1;
    EXPECT_EQ(Describe(a), "1,-32768,-32768|-32768|32768|");
    RETERROR err = RE_SUCCESS;
    EXPECT_EQ(a.LoadObj("S", "Drum_000", file.c_str(), &err), nullptr);
    EXPECT_EQ(err, RE_WRONG_KIND);
    err = RE_WRITE_SHAVED;
    EXPECT_EQ(a.UpdateObj("S", "Drum_000", file.c_str(), &err), 0);
    EXPECT_EQ(err, RE_WRITE_SHAVED);  // left unchanged
    IndexList list;
    for (AddListSlot slot : kAddListSlots) {
        EXPECT_EQ((a.*slot)(&list), 1);
    }
    EXPECT_TRUE(list.empty());
    int counter = 5;
    const std::string out = dir_.File("out.ini");
    for (WriterSlot slot : kWriterSlots) {
        EXPECT_EQ((a.*slot)("S", out.c_str(), &counter), RE_SUCCESS);
    }
    EXPECT_EQ(a.SaveStringAttuat(&counter), "");
    EXPECT_EQ(counter, 5);
    EXPECT_FALSE(test::FileExists(out));
    EXPECT_EQ(Describe(*std::unique_ptr<Attuat>(a.Clone())), Describe(a));
}

// Rules of single classes.

// The design stepping motor's value is blank-separated, its read default is
// not: a value with commas, and a missing key, give Id only and empty texts.
TEST_F(ActuatorsTest, DesignSteppingMotorReadsCommasOnlyAsFarAsTheFirst) {
    const std::string file = Entry("Commas", "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0");
    for (const char* key : {"Commas", "Missing"}) {
        StepMotorDisColor d = dynamic_cast<StepMotorDisColor&>(*Sampled(Kinds()[5]));
        ASSERT_EQ(d.ConfigureStepMotorDis("S", key, file.c_str(), nullptr), 1);
        EXPECT_EQ(d.SaveStringAttuat(nullptr),
                  "SteppingMotorDis_000=0 -32768 -32768  0 0  0 0 0 0");
    }
}

}  // namespace
}  // namespace knitcfg
