#include "knitcfg/actuators/detail/Prototypes.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/knitcfg.h"

namespace knitcfg::detail {
namespace {

std::string Names(const std::vector<Attuat*>& list) {
    std::string names;
    for (const Attuat* a : list) {
        names += std::string(a->GetRuntimeClass()->className) + " ";
    }
    return names;
}

TEST(PrototypesTest, AreCreatedOncePerClassAndListedInRecognitionOrder) {
    EXPECT_EQ(Names(AllPrototypes()),
              "DrumColor FingerColor SplitterColor TriangleColor StepMotorColor StepMotorDisColor "
              "SpeederColor DrumLine FingerLine SplitterLine TriangleLine StepMotorLine "
              "StepMotorDisLine SpeederLine ");
    EXPECT_EQ(Names(ColorPrototypes()),
              "TriangleColor DrumColor FingerColor SplitterColor StepMotorColor StepMotorDisColor "
              "SpeederColor ");
    EXPECT_EQ(Names(LinePrototypes()),
              "DrumLine FingerLine SplitterLine TriangleLine StepMotorLine StepMotorDisLine "
              "SpeederLine ");
    EXPECT_EQ(ColorPrototypes()[0], AllPrototypes()[3]);  // the same TriangleColor
}

// A prototype takes an entry by configuring itself, so it holds the values of
// the last entry of its kind; a line prototype takes the same key into its
// line class.
TEST(PrototypesTest, PrototypeKeepsTheLastEntryItTook) {
    test::TempDir dir;
    const std::string file = dir.File("c.ini");
    test::WriteFile(file,
                    "[Color_001]\nFinger_000=2, 4, 0, 1\nSteppingMotorDis_x=9 1 1 +1 2 3 -1 4 5 6 "
                    "7\nSpeeder_000=8, 1, 0, +2.5\n");
    RETERROR err = RE_WRONG_KIND;
    for (const char* key : {"Finger_000", "SteppingMotorDis_x", "Speeder_000"}) {
        for (Attuat* prototype : ColorPrototypes()) {
            std::unique_ptr<Attuat> taken(prototype->LoadObj("Color_001", key, file.c_str(), &err));
        }
    }
    EXPECT_EQ(ColorPrototypes()[2]->GetStato(), 1);  // FingerColor
    EXPECT_EQ(ColorPrototypes()[5]->GetQuotaAghi(), "+1");
    EXPECT_EQ(ColorPrototypes()[6]->GetVelocita(), "+2.5");
    std::unique_ptr<Attuat> line(
        LinePrototypes()[1]->LoadObj("Color_001", "Finger_000", file.c_str(), &err));
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line->GetRuntimeClass()->className, "FingerLine");
    EXPECT_EQ(line->Caduta, 4);
}

// What a section load answers for a shared prototype without asking it must
// be what the prototype answers: for every key of another kind, null and
// the kind's load code, with the prototype unchanged; a key of its own kind
// it takes. Only the shared objects are answered for.
TEST(PrototypesTest, SharedKindsAnswerAsTheirPrototypes) {
    test::TempDir dir;
    const std::string file = dir.File("kinds.ini");
    std::vector<std::string> keys;
    std::istringstream words(
        "Drum_000 Finger_000 Splitter_000 Triangle_000 Speeder_000 SteppingMotor_000 "
        "SteppingMotorDis_000 drum_000 DRUM_000 Drum SteppingMotor Other_000 ID Drum_");
    for (std::string word; words >> word;) {
        keys.push_back(word);
    }
    std::string text = "[S]\n";
    for (const std::string& key : keys) {
        text += key + "=1 2 3 +4 5 6 -7 8 9 10 11\n";
    }
    test::WriteFile(file, text);
    const auto lock = PrototypeLock();
    for (Attuat* prototype : AllPrototypes()) {
        const ActuatorKind* kind = SharedPrototypeKind(prototype);
        ASSERT_NE(kind, nullptr) << prototype->GetRuntimeClass()->className;
        for (const std::string& key : keys) {
            SCOPED_TRACE(std::string(prototype->GetRuntimeClass()->className) + " " + key);
            const bool refused = !StartsWith(key.c_str(), kind->prefix);
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
    EXPECT_EQ(SharedPrototypeKind(&own), nullptr);
    EXPECT_EQ(SharedPrototypeKind(nullptr), nullptr);
}

}  // namespace
}  // namespace knitcfg::detail
