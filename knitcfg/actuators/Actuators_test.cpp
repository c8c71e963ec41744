// The fourteen actuator classes, tested as one family table: every row is a
// class with its prefix, slots, sample entry and codes, and every test runs
// over the rows. Rules of single classes follow the family tests.

#include <gtest/gtest.h>

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
#include "knitcfg/profile/SectionEntries.h"

namespace knitcfg {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using AddListSlot = int (Attuat::*)(IndexList*) const;
using WriterSlot = RETERROR (Attuat::*)(const char*, const char*, int*) const;
using Configure = std::function<int(Attuat&, const char*, const char*, const char*, RETERROR*)>;

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
enum Overrides : unsigned {
    kNone = 0,
    kStato = 1,
    kQuota = 2,
    kVelocita = 4,
    kDesign = 8,
};

struct KindCase {
    const char* name;
    int kind;  // index into kPrefixes and kAddListSlots
    bool color;
    unsigned overrides;
    std::function<std::unique_ptr<Attuat>()> create;
    std::function<std::unique_ptr<Attuat>(const Attuat&)> copy;
    Configure configure;  // the class's named configure operation
    const char* sample;   // a value as it may stand in a file
    const char* written;  // the same value as the class writes it
    const char* parsed;   // Describe() of the object read from `sample`
    const char* fresh;    // the value of a new object as written
    RETERROR loadCode;
    RETERROR configureCode;
    RETERROR saveCode;
    unsigned readLimit;  // characters of a value that the class reads

    const char* prefix() const { return kPrefixes[kind]; }
    WriterSlot writer() const { return kWriterSlots[kind + (color ? 0 : 7)]; }
    AddListSlot addList() const { return kAddListSlots[kind]; }
    bool blankSeparated() const { return color && kind == 5; }
};

template <class T>
KindCase Row(const char* name, int kind, bool color, unsigned overrides,
             int (T::*configure)(const char*, const char*, const char*, RETERROR*),
             const char* sample, const char* written, const char* parsed, const char* fresh,
             RETERROR load, RETERROR config, RETERROR save, unsigned readLimit = 511) {
    KindCase c{name,    kind,   color, overrides, nullptr, nullptr, nullptr,  sample,
               written, parsed, fresh, load,      config,  save,    readLimit};
    c.create = [] { return std::unique_ptr<Attuat>(T::CreateObject()); };
    c.copy = [](const Attuat& a) {
        return std::unique_ptr<Attuat>(std::make_unique<T>(dynamic_cast<const T&>(a)));
    };
    c.configure = [configure](Attuat& a, const char* s, const char* k, const char* f, RETERROR* e) {
        return (dynamic_cast<T&>(a).*configure)(s, k, f, e);
    };
    return c;
}

// Every field that the interface shows: "Id,Caduta,IdCaduta|Stato|Quota|
// Velocita|BilancFin,BilancIniz,RampaFinRanghi,RampaInizRanghi,RampaFinAghi,
// RampaInizAghi|QuotaRanghi|QuotaAghi".
std::string Describe(const Attuat& a) {
    return std::to_string(a.Id) + "," + std::to_string(a.Caduta) + "," +
           std::to_string(a.IdCaduta) + "|" + std::to_string(a.GetStato()) + "|" +
           std::to_string(a.GetQuota()) + "|" + a.GetVelocita() + "|" +
           std::to_string(a.GetBilancFin()) + "," + std::to_string(a.GetBilancIniz()) + "," +
           std::to_string(a.GetRampaFinRanghi()) + "," + std::to_string(a.GetRampaInizRanghi()) +
           "," + std::to_string(a.GetRampaFinAghi()) + "," + std::to_string(a.GetRampaInizAghi()) +
           "|" + a.GetQuotaRanghi() + "|" + a.GetQuotaAghi();
}

constexpr char kBaseDesign[] = "-1,-1,-1,-1,-1,-1||";

const std::vector<KindCase>& Kinds() {
    static const std::vector<KindCase> kinds = {
        Row("DrumColor", 0, true, kStato, &DrumColor::ConfigureDrum, "3, 1, 2, 0", "3, 1, 2, 0",
            "3,1,2|0|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768, -32768",
            RE_DRUM_COLOR_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_DRUM, 259),
        Row("FingerColor", 1, true, kStato, &FingerColor::ConfigureFinger, "-4,5,6,1",
            "-4, 5, 6, 1", "-4,5,6|1|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768, -32768",
            RE_FINGER_COLOR_ENTRY, RE_FINGER_COLOR_ENTRY, RE_WRITE_FINGER),
        Row("SplitterColor", 2, true, kStato, &SplitterColor::ConfigureSplitter,
            "  7,\t8, 9,   -2  ", "7, 8, 9, -2", "7,8,9|-2|32768||-1,-1,-1,-1,-1,-1||",
            "-32768, -32768, -32768, -32768", RE_SPLITTER_COLOR_ENTRY, RE_SPLITTER_COLOR_ENTRY,
            RE_WRITE_SPLITTER),
        Row("TriangleColor", 3, true, kStato, &TriangleColor::ConfigureTriangle, "10, 11, 12, 3",
            "10, 11, 12, 3", "10,11,12|3|32768||-1,-1,-1,-1,-1,-1||",
            "-32768, -32768, -32768, -32768", RE_TRIANGLE_COLOR_ENTRY, RE_TRIANGLE_COLOR_ENTRY,
            RE_WRITE_TRIANGLE),
        Row("StepMotorColor", 4, true, kStato | kQuota, &StepMotorColor::ConfigureStepMotor,
            "13, 14, 15, 2, -100000", "13, 14, 15, 2, -100000",
            "13,14,15|2|-100000||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768, -32768, 32768",
            RE_STEPMOTOR_COLOR_ENTRY, RE_STEPMOTOR_COLOR_ENTRY, RE_WRITE_STEPMOTOR),
        Row("StepMotorDisColor", 5, true, kDesign, &StepMotorDisColor::ConfigureStepMotorDis,
            "5 2 1 +12.500 10 20 -3.250 30 40 1 2", "5 2 1 +12.500 10 20 -3.250 30 40 1 2",
            "5,2,1|-32768|32768||2,1,40,30,20,10|-3.250|+12.500",
            "-32768 -32768 -32768 +0.000 0 0 +0.000 0 0 0 0", RE_STEPMOTORDIS_COLOR_ENTRY,
            RE_STEPMOTORDIS_COLOR_ENTRY, RE_WRITE_STEPMOTORDIS_COLOR),
        Row("SpeederColor", 6, true, kVelocita, &SpeederColor::ConfigureSpeeder, "7, 2, 0, -1.250",
            "7, 2, 0, -1.250", "7,2,0|-32768|32768|-1.250|-1,-1,-1,-1,-1,-1||",
            "-32768, -32768, -32768, +0.000", RE_SPEEDER_COLOR_ENTRY, RE_SPEEDER_COLOR_ENTRY,
            RE_WRITE_SPEEDER),
        Row("DrumLine", 0, false, kNone, &DrumLine::ConfigureDrumLine, "3, 1, 2", "3, 1, 2",
            "3,1,2|-32768|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768", RE_DRUM_LINE_ENTRY,
            RE_DRUM_LINE_ENTRY, RE_WRITE_DRUM),
        Row("FingerLine", 1, false, kNone, &FingerLine::ConfigureFingerLine, "2, 4, 0", "2, 4, 0",
            "2,4,0|-32768|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768",
            RE_FINGER_LINE_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_FINGER),
        Row("SplitterLine", 2, false, kNone, &SplitterLine::ConfigureSplitterLine, "-1,-2,-3",
            "-1, -2, -3", "-1,-2,-3|-32768|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768",
            RE_SPLITTER_LINE_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_SPLITTER),
        Row("TriangleLine", 3, false, kNone, &TriangleLine::ConfigureTriangleLine, "20, 21, 22, 99",
            "20, 21, 22", "20,21,22|-32768|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768",
            RE_TRIANGLE_LINE_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_TRIANGLE),
        Row("StepMotorLine", 4, false, kNone, &StepMotorLine::ConfigureStepMotorLine, "30, 31, 32",
            "30, 31, 32", "30,31,32|-32768|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768",
            RE_STEPMOTOR_LINE_ENTRY, RE_STEPMOTOR_LINE_ENTRY, RE_WRITE_STEPMOTOR),
        Row("StepMotorDisLine", 5, false, kNone, &StepMotorDisLine::ConfigureStepMotorDisLine,
            "40, 41, 42", "40, 41, 42", "40,41,42|-32768|32768||-1,-1,-1,-1,-1,-1||",
            "-32768, -32768, -32768", RE_STEPMOTOR_LINE_ENTRY, RE_STEPMOTORDIS_LINE_EMPTY,
            RE_WRITE_STEPMOTOR),
        Row("SpeederLine", 6, false, kNone, &SpeederLine::ConfigureSpeederLine, "50, 51, 52",
            "50, 51, 52", "50,51,52|-32768|32768||-1,-1,-1,-1,-1,-1||", "-32768, -32768, -32768",
            RE_SPEEDER_LINE_ENTRY, RE_DRUM_COLOR_ENTRY, RE_WRITE_SPEEDER),
    };
    return kinds;
}

class ActuatorsTest : public ::testing::Test {
protected:
    // Writes `text` as the file `name` in the test folder; returns its path.
    std::string File(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        WriteFile(path, text);
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
        RETERROR err = RE_SUCCESS;
        EXPECT_EQ(a->UpdateObj("S", (std::string(c.prefix()) + "000").c_str(), file.c_str(), &err),
                  1)
            << c.name;
        EXPECT_EQ(err, RE_SUCCESS) << c.name;
        return a;
    }

    TempDir dir_;
};

TEST_F(ActuatorsTest, ClassRecordsAreNamedAndChained) {
    EXPECT_STREQ(AttuatBase::GetThisClass()->className, "AttuatBase");
    EXPECT_EQ(AttuatBase::GetThisClass()->baseClass, ModelObject::GetThisClass());
    EXPECT_STREQ(Attuat::GetThisClass()->className, "Attuat");
    EXPECT_EQ(Attuat::GetThisClass()->baseClass, AttuatBase::GetThisClass());
    std::unique_ptr<ModelObject> base(AttuatBase::GetThisClass()->CreateObject());
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(base->GetRuntimeClass(), AttuatBase::GetThisClass());
    EXPECT_EQ(dynamic_cast<AttuatBase&>(*base).Id, -32768);

    for (const KindCase& c : Kinds()) {
        std::unique_ptr<Attuat> a = c.create();
        const RuntimeClass* record = a->GetRuntimeClass();
        EXPECT_STREQ(record->className, c.name);
        // Attuat is the direct base of every concrete class.
        EXPECT_EQ(record->baseClass, Attuat::GetThisClass()) << c.name;
        EXPECT_TRUE(a->IsKindOf(AttuatBase::GetThisClass()));
        std::unique_ptr<ModelObject> made(record->CreateObject());
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->GetRuntimeClass(), record);
        EXPECT_EQ(a->SaveStringAttuat(nullptr), std::string(c.prefix()) + "000=" + c.fresh);
        for (const KindCase& other : Kinds()) {
            if (&other != &c) {
                EXPECT_FALSE(a->IsKindOf(other.create()->GetRuntimeClass()))
                    << c.name << " as " << other.name;
            }
        }
    }
}

TEST_F(ActuatorsTest, EntryIsParsedAndWrittenBackInTheKindsFormat) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        const std::string file = Entry(std::string(c.prefix()) + "007", c.sample);
        std::unique_ptr<Attuat> prototype = c.create();
        RETERROR err = RE_WRONG_KIND;
        std::unique_ptr<Attuat> a(
            prototype->LoadObj("S", (std::string(c.prefix()) + "007").c_str(), file.c_str(), &err));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(err, RE_SUCCESS);
        EXPECT_STREQ(a->GetRuntimeClass()->className, c.name);
        EXPECT_EQ(Describe(*a), c.parsed);
        // The prototype keeps the values of the last entry it took.
        EXPECT_EQ(Describe(*prototype), c.parsed);

        int counter = 4;
        EXPECT_EQ(a->SaveStringAttuat(&counter), std::string(c.prefix()) + "004=" + c.written);
        EXPECT_EQ(counter, 5);

        const std::string out = dir_.File(std::string(c.name) + ".ini");
        counter = 2;
        EXPECT_EQ((a.get()->*c.writer())("T", out.c_str(), &counter), RE_SUCCESS);
        EXPECT_EQ(counter, 3);
        EXPECT_EQ(ReadFile(out), std::string("[T]\r\n") + c.prefix() + "002=" + c.written + "\r\n");

        // What was written reads back as the same object.
        std::unique_ptr<Attuat> again = c.create();
        EXPECT_EQ(
            again->UpdateObj("T", (std::string(c.prefix()) + "002").c_str(), out.c_str(), &err), 1);
        EXPECT_EQ(Describe(*again), c.parsed);
    }
}

TEST_F(ActuatorsTest, KeyIsMatchedByItsPrefixOnly) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        // The entry number is neither parsed nor required.
        for (const std::string suffix : {"", "anything", "1000", "000 "}) {
            const std::string key = c.prefix() + suffix;
            const std::string file = Entry(key, c.sample);
            RETERROR err = RE_WRONG_KIND;
            std::unique_ptr<Attuat> a(c.create()->LoadObj("S", key.c_str(), file.c_str(), &err));
            ASSERT_NE(a, nullptr) << key;
            EXPECT_EQ(Describe(*a), c.parsed);
        }
    }
}

TEST_F(ActuatorsTest, KeyOfAnotherKindIsRefused) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> keys;
        for (const char* prefix : kPrefixes) {
            if (prefix != c.prefix()) {
                keys.push_back(std::string(prefix) + "000");
            }
        }
        std::string lower = c.prefix();
        for (char& ch : lower) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        keys.push_back(lower + "000");
        keys.push_back(std::string(c.prefix()).substr(0, 4));  // a prefix cut short
        keys.push_back("ID");

        std::unique_ptr<Attuat> a = Sampled(c);
        for (const std::string& key : keys) {
            // A value that every kind would parse.
            const std::string file = Entry(key, c.sample);
            RETERROR err = RE_SUCCESS;
            EXPECT_EQ(a->LoadObj("S", key.c_str(), file.c_str(), &err), nullptr) << key;
            EXPECT_EQ(err, c.loadCode) << key;
            err = RE_SUCCESS;
            EXPECT_EQ(a->UpdateObj("S", key.c_str(), file.c_str(), &err), 0) << key;
            EXPECT_EQ(err, RE_WRONG_KIND) << key;
            EXPECT_EQ(Describe(*a), c.parsed) << key;
        }
    }
}

TEST_F(ActuatorsTest, SteppingMotorAndDesignSteppingMotorKeysStayApart) {
    const std::string file = File("motors.ini",
                                  "[S]\nSteppingMotor_000=1, 2, 3, 4, 5\n"
                                  "SteppingMotorDis_000=1 2 3 +1 4 5 +2 6 7 8 9\n");
    RETERROR err = RE_SUCCESS;
    for (bool color : {true, false}) {
        std::unique_ptr<Attuat> motor, design;
        if (color) {
            motor = std::make_unique<StepMotorColor>();
            design = std::make_unique<StepMotorDisColor>();
        } else {
            motor = std::make_unique<StepMotorLine>();
            design = std::make_unique<StepMotorDisLine>();
        }
        EXPECT_EQ(motor->LoadObj("S", "SteppingMotorDis_000", file.c_str(), &err), nullptr);
        EXPECT_EQ(design->LoadObj("S", "SteppingMotor_000", file.c_str(), &err), nullptr);
        std::unique_ptr<Attuat> m(motor->LoadObj("S", "SteppingMotor_000", file.c_str(), &err));
        std::unique_ptr<Attuat> d(design->LoadObj("S", "SteppingMotorDis_000", file.c_str(), &err));
        EXPECT_NE(m, nullptr);
        EXPECT_NE(d, nullptr);
    }
}

TEST_F(ActuatorsTest, EmptyValueKeepsTheFieldsAndReportsTheKindsCodes) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        const std::string key = std::string(c.prefix()) + "000";
        std::unique_ptr<Attuat> a = Sampled(c);
        for (const char* value : {"", "   ", "\"\""}) {
            const std::string file = Entry(key, value);
            RETERROR err = RE_SUCCESS;
            EXPECT_EQ(a->UpdateObj("S", key.c_str(), file.c_str(), &err), 0);
            EXPECT_EQ(err, c.configureCode);
            err = RE_SUCCESS;
            EXPECT_EQ(c.configure(*a, "S", key.c_str(), file.c_str(), &err), 0);
            EXPECT_EQ(err, c.configureCode);
            err = RE_SUCCESS;
            EXPECT_EQ(a->LoadObj("S", key.c_str(), file.c_str(), &err), nullptr);
            EXPECT_EQ(err, c.loadCode);
            EXPECT_EQ(Describe(*a), c.parsed);
        }
    }
}

TEST_F(ActuatorsTest, RefusedWriteReportsTheSaveCodeAndStillAdvancesTheCounter) {
    const std::string nowhere = dir_.File("missing/folder.ini");
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Attuat> a = Sampled(c);
        int counter = 7;
        EXPECT_EQ((a.get()->*c.writer())("S", nowhere.c_str(), &counter), c.saveCode);
        EXPECT_EQ(counter, 8);
        // A section name that would not read back is refused the same way.
        const std::string file = dir_.File("refused.ini");
        EXPECT_EQ((a.get()->*c.writer())("S]", file.c_str(), &counter), c.saveCode);
        EXPECT_EQ(counter, 9);
        EXPECT_FALSE(test::FileExists(file));
    }
}

TEST_F(ActuatorsTest, IndexListAndWriterSlotsFilterByKind) {
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
            if (slot == c.writer()) {
                continue;
            }
            int counter = 3;
            EXPECT_EQ((a.get()->*slot)("S", file.c_str(), &counter), RE_SUCCESS);
            EXPECT_EQ(counter, 3);
        }
        EXPECT_FALSE(test::FileExists(file));
    }
}

TEST_F(ActuatorsTest, SlotsNotOverriddenGiveTheBaseResults) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Attuat> a = Sampled(c);
        a->SetStato(77);
        a->SetQuota(-77);
        a->SetVelocita("9.9");
        EXPECT_EQ(a->GetStato(), (c.overrides & kStato) ? 77 : -32768);
        EXPECT_EQ(a->GetQuota(), (c.overrides & kQuota) ? -77 : 32768);
        EXPECT_EQ(a->GetVelocita(), (c.overrides & kVelocita) ? "9.9" : "");
        if (!(c.overrides & kDesign)) {
            for (short value :
                 {a->GetBilancFin(), a->GetBilancIniz(), a->GetRampaFinRanghi(),
                  a->GetRampaInizRanghi(), a->GetRampaFinAghi(), a->GetRampaInizAghi()}) {
                EXPECT_EQ(value, -1);
            }
            EXPECT_EQ(a->GetQuotaRanghi(), "");
            EXPECT_EQ(a->GetQuotaAghi(), "");
        }
    }
}

TEST_F(ActuatorsTest, CloneAndCopyEqualTheOriginalFieldByField) {
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Attuat> a = Sampled(c);
        a->SetStato(-5);
        a->SetQuota(INT_MAX);
        a->SetVelocita("+3.5");
        std::unique_ptr<Attuat> clone(a->Clone());
        std::unique_ptr<Attuat> copy = c.copy(*a);
        for (const Attuat* other : {clone.get(), copy.get()}) {
            EXPECT_NE(other, a.get());
            EXPECT_EQ(other->GetRuntimeClass(), a->GetRuntimeClass());
            EXPECT_EQ(Describe(*other), Describe(*a));
            EXPECT_EQ(other->SaveStringAttuat(nullptr), a->SaveStringAttuat(nullptr));
        }
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
                    pre.emplace(section, key.c_str(), file.c_str(), value, profile::ChangeCount(),
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
        RETERROR err = RE_WRONG_KIND;
        EXPECT_EQ(a->UpdateObj("S", key.c_str(), file.c_str(), &err), 1);
        EXPECT_EQ(err, RE_SUCCESS);
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
                                  "[S]\nDrum_000=70000, -32769, 65535, 98304\n"
                                  "SteppingMotor_000=1, 2, 3, 70000, 70000\n"
                                  "SteppingMotor_001=1, 2, 3, 4, -2147483648\n"
                                  "SteppingMotor_002=1, 2, 3, 4, 4294967297\n"
                                  "SteppingMotorDis_000=70000 0 0 a 65536 -65537 b 1 1 1 32768\n");
    RETERROR err = RE_WRONG_KIND;
    DrumColor drum;
    ASSERT_EQ(drum.ConfigureDrum("S", "Drum_000", file.c_str(), &err), 1);
    EXPECT_EQ(Describe(drum), "4464,32767,-1|-32768|32768||" + std::string(kBaseDesign));
    StepMotorColor motor;
    ASSERT_EQ(motor.ConfigureStepMotor("S", "SteppingMotor_000", file.c_str(), &err), 1);
    EXPECT_EQ(motor.GetStato(), 4464);
    EXPECT_EQ(motor.GetQuota(), 70000);
    ASSERT_EQ(motor.ConfigureStepMotor("S", "SteppingMotor_001", file.c_str(), &err), 1);
    EXPECT_EQ(motor.GetQuota(), INT_MIN);
    EXPECT_EQ(motor.SaveStringAttuat(nullptr), "SteppingMotor_000=1, 2, 3, 4, -2147483648");
    ASSERT_EQ(motor.ConfigureStepMotor("S", "SteppingMotor_002", file.c_str(), &err), 1);
    EXPECT_EQ(motor.GetQuota(), 1);
    StepMotorDisColor design;
    ASSERT_EQ(design.ConfigureStepMotorDis("S", "SteppingMotorDis_000", file.c_str(), &err), 1);
    EXPECT_EQ(Describe(design), "4464,0,0|-32768|32768||-32768,1,1,1,-1,0|b|a");
}

TEST_F(ActuatorsTest, CounterNumbersEntriesWithAtLeastThreeDigits) {
    DrumLine drum;
    int counter = 1000;
    EXPECT_EQ(drum.SaveStringAttuat(&counter), "Drum_1000=-32768, -32768, -32768");
    EXPECT_EQ(counter, 1001);
    counter = 42;
    EXPECT_EQ(drum.SaveStringAttuat(&counter), "Drum_042=-32768, -32768, -32768");
    // A counter at its limit wraps instead of overflowing.
    counter = INT_MAX;
    drum.SaveStringAttuat(&counter);
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
        {"Word", 0}, {"Wide", 0},  {"Signed", 1},   {"Quoted", 1},     {"Missing", 0},
    };
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
    EXPECT_EQ(Describe(a), "-32768,-32768,-32768|-32768|32768||" + std::string(kBaseDesign));
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

    a.Id = 1;
    a.Caduta = 2;
    a.IdCaduta = 3;
    std::unique_ptr<Attuat> clone(a.Clone());
    EXPECT_EQ(clone->GetRuntimeClass(), Attuat::GetThisClass());
    EXPECT_EQ(Describe(*clone), Describe(a));
    Attuat copy(a);
    EXPECT_EQ(Describe(copy), Describe(a));
}

TEST_F(ActuatorsTest, NullArgumentsGiveCodesNotCrashes) {
    const std::string file = Entry("Drum_000", "3, 1, 2, 0");
    for (const KindCase& c : Kinds()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Attuat> a = c.create();
        const std::string key = std::string(c.prefix()) + "000";
        RETERROR err = RE_SUCCESS;
        EXPECT_EQ(a->LoadObj("S", nullptr, file.c_str(), &err), nullptr);
        EXPECT_EQ(err, c.loadCode);
        EXPECT_EQ(a->LoadObj(nullptr, key.c_str(), file.c_str(), &err), nullptr);
        EXPECT_EQ(err, c.loadCode);
        EXPECT_EQ(a->LoadObj("S", key.c_str(), nullptr, nullptr), nullptr);
        EXPECT_EQ(c.configure(*a, "S", nullptr, file.c_str(), &err), 0);
        EXPECT_EQ(err, c.configureCode);
        EXPECT_EQ((a.get()->*c.writer())(nullptr, file.c_str(), nullptr), c.saveCode);
        EXPECT_EQ((a.get()->*c.writer())("S", nullptr, nullptr), c.saveCode);
        EXPECT_EQ(Describe(*a), Describe(*c.create()));
    }
}

// Rules of single classes.

TEST_F(ActuatorsTest, SpeederReadsItsSpeedAsText) {
    const std::string file =
        File("speeder.ini",
             "[S]\nSpeeder_000=7, 2, 0, -1.250\nSpeeder_001=7, 2, 0\n"
             "Speeder_002=7, 2, 0,1e5 trailing\nSpeeder_003=1, 2, 3, 1234567890\n"
             "Speeder_004=1, 2, 3, 12345678901\n");
    SpeederColor s;
    RETERROR err = RE_WRONG_KIND;
    ASSERT_EQ(s.ConfigureSpeeder("S", "Speeder_000", file.c_str(), &err), 1);
    EXPECT_EQ(s.GetVelocita(), "-1.250");
    ASSERT_EQ(s.ConfigureSpeeder("S", "Speeder_001", file.c_str(), &err), 1);
    EXPECT_EQ(s.GetVelocita(), "");
    EXPECT_EQ(s.SaveStringAttuat(nullptr), "Speeder_000=7, 2, 0, ");
    ASSERT_EQ(s.ConfigureSpeeder("S", "Speeder_002", file.c_str(), &err), 1);
    EXPECT_EQ(s.GetVelocita(), "1e5");
    // A speed fills its room of 10 characters at most; a longer one is
    // refused, never cut, and the actuator keeps what it held.
    ASSERT_EQ(s.ConfigureSpeeder("S", "Speeder_003", file.c_str(), &err), 1);
    EXPECT_EQ(s.GetVelocita(), "1234567890");
    EXPECT_EQ(s.ConfigureSpeeder("S", "Speeder_004", file.c_str(), &err), 0);
    EXPECT_EQ(err, RE_SPEEDER_COLOR_ENTRY);
    EXPECT_EQ(s.UpdateObj("S", "Speeder_004", file.c_str(), &err), 0);
    EXPECT_EQ(err, RE_SPEEDER_COLOR_ENTRY);
    EXPECT_EQ(s.LoadObj("S", "Speeder_004", file.c_str(), &err), nullptr);
    EXPECT_EQ(err, RE_SPEEDER_COLOR_ENTRY);
    EXPECT_EQ(s.SaveStringAttuat(nullptr), "Speeder_000=1, 2, 3, 1234567890");

    s.SetVelocita(nullptr);
    EXPECT_EQ(s.GetVelocita(), "");
}

TEST_F(ActuatorsTest, DesignSteppingMotorReadsBlankSeparatedItems) {
    const std::string file = File("design.ini",
                                  "[S]\nA=5 2 1 +12.500 10 20 -3.250 30 40 1 2\n"
                                  "Commas=0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0\n"
                                  "Short=5 2 1 +1.0 10\n"
                                  "Room=1 2 3 1234567890 4 5 -234567890 6 7 8 9\n"
                                  "LongAghi=1 2 3 12345678901 4 5 x 6 7 8 9\n"
                                  "LongRanghi=1 2 3 x 4 5 -1234567890 6 7 8 9\n");
    StepMotorDisColor d;
    RETERROR err = RE_WRONG_KIND;
    ASSERT_EQ(d.ConfigureStepMotorDis("S", "A", file.c_str(), &err), 1);
    EXPECT_EQ(d.GetRampaFinRanghi(), 40);
    EXPECT_EQ(d.GetQuotaRanghi(), "-3.250");
    EXPECT_EQ(d.GetStato(), -32768);
    EXPECT_EQ(d.GetVelocita(), "");

    // Read only as far as the first comma: Id only, both texts empty.
    ASSERT_EQ(d.ConfigureStepMotorDis("S", "Commas", file.c_str(), &err), 1);
    EXPECT_EQ(d.SaveStringAttuat(nullptr), "SteppingMotorDis_000=0 -32768 -32768  0 0  0 0 0 0");
    // A missing key reads the comma-separated default the same way.
    d.ConfigureStepMotorDis("S", "A", file.c_str(), &err);
    ASSERT_EQ(d.ConfigureStepMotorDis("S", "Missing", file.c_str(), &err), 1);
    EXPECT_EQ(d.SaveStringAttuat(nullptr), "SteppingMotorDis_000=0 -32768 -32768  0 0  0 0 0 0");

    ASSERT_EQ(d.ConfigureStepMotorDis("S", "Short", file.c_str(), &err), 1);
    EXPECT_EQ(d.SaveStringAttuat(nullptr), "SteppingMotorDis_000=5 2 1 +1.0 10 0  0 0 0 0");

    ASSERT_EQ(d.ConfigureStepMotorDis("S", "Room", file.c_str(), &err), 1);
    EXPECT_EQ(d.GetQuotaAghi(), "1234567890");
    EXPECT_EQ(d.GetQuotaRanghi(), "-234567890");
    for (const char* key : {"LongAghi", "LongRanghi"}) {
        EXPECT_EQ(d.ConfigureStepMotorDis("S", key, file.c_str(), &err), 0) << key;
        EXPECT_EQ(err, RE_STEPMOTORDIS_COLOR_ENTRY);
        EXPECT_EQ(d.GetQuotaAghi(), "1234567890");
        EXPECT_EQ(d.GetQuotaRanghi(), "-234567890");
    }
}

TEST_F(ActuatorsTest, DrumValueWithoutBlanksReadsTheSameNumbers) {
    const std::string file = File("drum.ini", "[S]\nDrum_007=3,1,2,0\nDrum_008=3 , 1, 2, 0\n");
    DrumColor drum;
    RETERROR err = RE_WRONG_KIND;
    std::unique_ptr<Attuat> a(drum.LoadObj("S", "Drum_007", file.c_str(), &err));
    ASSERT_NE(a, nullptr);
    int counter = 0;
    EXPECT_EQ(a->SaveStringAttuat(&counter), "Drum_000=3, 1, 2, 0");
    // A blank before the comma ends the parse after the first number.
    a.reset(drum.LoadObj("S", "Drum_008", file.c_str(), &err));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->SaveStringAttuat(nullptr), "Drum_000=3, -32768, -32768, -32768");
}

}  // namespace
}  // namespace knitcfg
