#include "knitcfg/actuators/detail/Prototypes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/knitcfg.h"

namespace knitcfg::detail {
namespace {

std::vector<std::string> Names(const std::vector<Attuat*>& list) {
    std::vector<std::string> names;
    for (const Attuat* a : list) {
        names.emplace_back(a->GetRuntimeClass()->className);
    }
    return names;
}

TEST(PrototypesTest, AreCreatedOncePerClassInOrder) {
    EXPECT_EQ(Names(AllPrototypes()),
              (std::vector<std::string>{
                  "DrumColor", "FingerColor", "SplitterColor", "TriangleColor", "StepMotorColor",
                  "StepMotorDisColor", "SpeederColor", "DrumLine", "FingerLine", "SplitterLine",
                  "TriangleLine", "StepMotorLine", "StepMotorDisLine", "SpeederLine"}));
}

// A save finds an actuator's kind slot by its class first, which gives the
// first slot whose kind test it passes only because no kind derives from
// another.
TEST(PrototypesTest, KindsAreUnrelatedClasses) {
    for (const Attuat* a : AllPrototypes()) {
        for (const Attuat* b : AllPrototypes()) {
            if (a != b) {
                EXPECT_FALSE(a->IsKindOf(b->GetRuntimeClass()))
                    << a->GetRuntimeClass()->className << " " << b->GetRuntimeClass()->className;
            }
        }
    }
}

TEST(PrototypesTest, RecognitionOrdersShareTheSameObjects) {
    EXPECT_EQ(
        Names(ColorPrototypes()),
        (std::vector<std::string>{"TriangleColor", "DrumColor", "FingerColor", "SplitterColor",
                                  "StepMotorColor", "StepMotorDisColor", "SpeederColor"}));
    EXPECT_EQ(Names(LinePrototypes()),
              (std::vector<std::string>{"DrumLine", "FingerLine", "SplitterLine", "TriangleLine",
                                        "StepMotorLine", "StepMotorDisLine", "SpeederLine"}));
    const std::vector<Attuat*>& all = AllPrototypes();
    EXPECT_EQ(ColorPrototypes()[0], all[3]);  // TriangleColor
    EXPECT_EQ(ColorPrototypes()[1], all[0]);  // DrumColor
    EXPECT_EQ(LinePrototypes()[0], all[7]);   // DrumLine
    EXPECT_EQ(&ColorPrototypes(), &ColorPrototypes());
}

// A color section read the way a color reads it: each key offered to the
// prototypes in recognition order until one takes it.
TEST(PrototypesTest, FirstMatchingPrototypeTakesTheEntryAndKeepsItsValues) {
    test::TempDir dir;
    const std::string file = dir.File("c.ini");
    test::WriteFile(file,
                    "[Color_001]\nID=1\nFinger_000=2, 4, 0, 1\nSteppingMotorDis_x=9 1 1 +1 2 3 "
                    "-1 4 5 6 7\nSpeeder_000=8, 1, 0, +2.5\ndrum_000=1, 1, 1, 1\n");
    const char* keys[] = {"ID", "Finger_000", "SteppingMotorDis_x", "Speeder_000", "drum_000"};
    const char* takers[] = {nullptr, "FingerColor", "StepMotorDisColor", "SpeederColor", nullptr};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        std::unique_ptr<Attuat> taken;
        RETERROR err = RE_SUCCESS;
        for (Attuat* prototype : ColorPrototypes()) {
            taken.reset(prototype->LoadObj("Color_001", keys[i], file.c_str(), &err));
            if (taken) {
                break;
            }
        }
        if (takers[i] == nullptr) {
            EXPECT_EQ(taken, nullptr) << keys[i];
            EXPECT_EQ(err, RE_SPEEDER_COLOR_ENTRY) << keys[i];  // the last prototype asked
        } else {
            ASSERT_NE(taken, nullptr) << keys[i];
            EXPECT_STREQ(taken->GetRuntimeClass()->className, takers[i]);
            EXPECT_EQ(err, RE_SUCCESS);
        }
    }
    // Line prototypes take the same keys of a line section into line classes.
    RETERROR err = RE_SUCCESS;
    std::unique_ptr<Attuat> line(
        LinePrototypes()[1]->LoadObj("Color_001", "Finger_000", file.c_str(), &err));
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line->GetRuntimeClass()->className, "FingerLine");
    EXPECT_EQ(line->Id, 2);
    EXPECT_EQ(line->Caduta, 4);

    EXPECT_EQ(ColorPrototypes()[2]->GetStato(), 1);  // FingerColor: the last entry taken
    EXPECT_EQ(ColorPrototypes()[5]->GetQuotaAghi(), "+1");
    EXPECT_EQ(ColorPrototypes()[6]->GetVelocita(), "+2.5");

    // A color being destroyed empties the prototypes' texts; the next entry
    // sets them again before the clone is made.
    EmptyColorPrototypeTexts();
    EXPECT_EQ(ColorPrototypes()[5]->GetQuotaAghi(), "");
    EXPECT_EQ(ColorPrototypes()[5]->GetQuotaRanghi(), "");
    EXPECT_EQ(ColorPrototypes()[6]->GetVelocita(), "");
    std::unique_ptr<Attuat> speeder(
        ColorPrototypes()[6]->LoadObj("Color_001", "Speeder_000", file.c_str(), &err));
    ASSERT_NE(speeder, nullptr);
    EXPECT_EQ(speeder->GetVelocita(), "+2.5");
}

// What a section load answers for a shared prototype without asking it must
// be what the prototype answers: for every key of another kind, null and
// the kind's load code, with the prototype unchanged; a key of its own kind
// it takes. Only the shared objects are answered for.
TEST(PrototypesTest, SharedKindsAnswerAsTheirPrototypes) {
    test::TempDir dir;
    const std::string file = dir.File("kinds.ini");
    std::string text = "[S]\n";
    const std::vector<std::string> keys = {"Drum_000",
                                           "Finger_000",
                                           "Splitter_000",
                                           "Triangle_000",
                                           "Speeder_000",
                                           "SteppingMotor_000",
                                           "SteppingMotorDis_000",
                                           "drum_000",
                                           "DRUM_000",
                                           "Drum",
                                           "SteppingMotor",
                                           "Other_000",
                                           "ID",
                                           "Drum_"};
    for (const std::string& key : keys) {
        text += key + "=1 2 3 +4 5 6 -7 8 9 10 11\n";
    }
    test::WriteFile(file, text);
    const auto lock = PrototypeLock();
    for (Attuat* prototype : AllPrototypes()) {
        const detail::ActuatorKind* kind = detail::SharedPrototypeKind(prototype);
        ASSERT_NE(kind, nullptr) << prototype->GetRuntimeClass()->className;
        for (const std::string& key : keys) {
            SCOPED_TRACE(std::string(prototype->GetRuntimeClass()->className) + " " + key);
            const bool refused = !detail::StartsWith(key.c_str(), kind->prefix);
            const short idBefore = prototype->Id;
            RETERROR err = RE_SUCCESS;
            std::unique_ptr<Attuat> taken(prototype->LoadObj("S", key.c_str(), file.c_str(), &err));
            EXPECT_EQ(taken == nullptr, refused);
            if (refused) {
                EXPECT_EQ(err, kind->loadCode);
                EXPECT_EQ(prototype->Id, idBefore);
            }
        }
    }
    DrumColor own;
    EXPECT_EQ(detail::SharedPrototypeKind(&own), nullptr);
    EXPECT_EQ(detail::SharedPrototypeKind(nullptr), nullptr);
}

}  // namespace
}  // namespace knitcfg::detail
