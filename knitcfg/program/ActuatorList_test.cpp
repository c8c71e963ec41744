#include "knitcfg/program/detail/ActuatorList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "IniText.h"
#include "TestUtil.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {
namespace {

using detail::ActuatorList;

// The loading loop as plainly as it can be written: every key asks every
// listed actuator, from the head, whether the key is its own, and a new
// actuator walks the list from the head to find its place.
RETERROR ReferenceLoad(ActuatorList& list, const std::vector<Attuat*>& prototypes,
                       const char* section, const char* file, bool* hadKeys) {
    std::vector<char> names(8192);
    *hadKeys = profile::GetString(section, nullptr, "", names.data(), 8192, file) != 0;
    RETERROR last = RE_SUCCESS;
    for (const char* key = names.data(); *hadKeys && *key != '\0'; key += std::strlen(key) + 1) {
        RETERROR code = RE_WRONG_KIND;
        Attuat* owner = nullptr;
        for (const auto& actuator : list) {
            if (actuator->AlreadyInList(section, key, file) == 1) {
                owner = actuator.get();
                break;
            }
        }
        if (owner != nullptr) {
            owner->UpdateObj(section, key, file, &code);
        } else {
            for (Attuat* prototype : prototypes) {
                code = RE_WRONG_KIND;
                std::unique_ptr<Attuat> made(prototype->LoadObj(section, key, file, &code));
                if (made != nullptr) {
                    auto at = list.begin();
                    while (at != list.end() && (*at)->Caduta <= made->Caduta) {
                        ++at;
                    }
                    list.insert(at, std::move(made));
                    break;
                }
            }
        }
        last = code;
    }
    return last;
}

std::vector<std::string> Described(const ActuatorList& list) {
    std::vector<std::string> out = test::Entries(list);
    for (std::size_t i = 0; i < list.size(); ++i) {
        out[i] = std::string(list[i]->GetRuntimeClass()->className) + " " + out[i];
    }
    return out;
}

// A section meant to hit every branch of the loop: few identifiers, so that
// entries merge and kinds collide; numbers beyond 16 bits, which give two
// actuators one Id; changed feeds, which break the list's order; empty
// values, header keys, keys of no kind and over-long texts; keys repeated
// (in another letter case too), quoted values, a first number longer than
// the room through which identifiers are read, and names long enough to cut
// the key listing.
std::string RandomSection(std::mt19937& rng, int keys) {
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    static const char* const prefixes[] = {
        "Drum_",    "Finger_",           "Splitter_", "Triangle_", "SteppingMotor_",
        "Speeder_", "SteppingMotorDis_", "drum_",     "Other_"};
    static const int ids[] = {1, 2, 3, 4, 5, 65537, 65538, -1, -65535, 0};
    std::string text = "[S]\n";
    for (int k = 0; k < keys; ++k) {
        const int shape = pick(40);
        const std::string prefix = prefixes[pick(9)];
        const std::string id = std::to_string(ids[pick(10)]);
        const std::string feed = std::to_string(pick(6) - 1);
        std::string name = prefix + std::to_string(shape == 3 ? pick(k + 1) : k);
        std::string value = id + ", " + feed + ", " + std::to_string(pick(3)) + ", " +
                            std::to_string(pick(100)) + ", 7";
        if (prefix == "SteppingMotorDis_") {
            value = id + " " + feed + " 1 " + (pick(8) == 0 ? "+1.0000000000" : "+1.5") +
                    " 1 2 -0.5 3 4 5 6";
        } else if (prefix == "Speeder_") {
            value = id + ", " + feed + ", 1, " + (pick(8) == 0 ? "+99.00000000" : "+0.25");
        }
        if (shape < 2) {
            name = shape == 0 ? "ID" : "Plane";
            value = id;
        } else if (shape == 4) {
            name[0] = static_cast<char>(name[0] ^ 0x20);  // the other letter case
        } else if (shape == 5) {
            name += std::string(static_cast<std::size_t>(100 + pick(300)), 'x');
        }
        // Empty, quoted, and a first number (300 digits) that the
        // identifier's room holds only zeros of.
        value = shape == 2 ? "" : shape == 6 ? "\"1, 2, 3, 4, 5\"" : value;
        value = shape == 7 ? std::string(299, '0') + "2, 1, 2, 3, 4" : value;
        text += name + "=" + value + "\n";
    }
    return text;
}

// The loader must give exactly what the plain loop gives: the same
// actuators in the same order with the same values, and the same code.
TEST(ActuatorListTest, LoadEntriesMatchesThePlainLoop) {
    test::TempDir dir;
    const std::string file = dir.File("random.ini");
    std::mt19937 rng(20240611);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Every tenth section lists more names than the listing's room holds.
        const int keys = round % 10 == 0 ? 700 : 5 + static_cast<int>(rng() % 80);
        test::WriteFile(file, test::Crlf(RandomSection(rng, keys)));
        const bool colors = round % 2 == 0;
        const std::vector<Attuat*>& prototypes =
            colors ? detail::ColorPrototypes() : detail::LinePrototypes();

        // Some rounds start from actuators held already, out of feed order.
        ActuatorList fast;
        ActuatorList plain;
        if (round % 3 == 0) {
            for (short i = 0; i < 4; ++i) {
                auto* drum = new DrumColor;
                drum->Id = static_cast<short>(i + 1);
                drum->Caduta = static_cast<short>(3 - i);
                fast.emplace_back(drum);
                plain.emplace_back(drum->Clone());
            }
        }
        // One parse of the file per round.
        profile::Batch batch(file.c_str());
        bool plainHadKeys = false;
        const RETERROR plainCode =
            ReferenceLoad(plain, prototypes, "S", file.c_str(), &plainHadKeys);
        const detail::EntriesLoaded loaded =
            detail::LoadEntries(fast, prototypes, "S", file.c_str());
        EXPECT_EQ(loaded.hadKeys, plainHadKeys);
        EXPECT_EQ(loaded.lastCode, plainCode);
        ASSERT_EQ(Described(fast), Described(plain)) << test::ReadFile(file);
    }
}

// A prototype of the caller's that writes the file while a section loads:
// on its first call it gives `key` a new value, which the identifier read
// and the actuators asked about that key afterwards must read.
struct Rewriter : Attuat {
    Attuat* LoadObj(const char* section, const char*, const char* file, RETERROR* err) override {
        if (key != nullptr) {
            profile::WriteString(section, key, value, file);
            key = nullptr;
        }
        *err = RE_WRONG_KIND;
        return nullptr;
    }
    const char* key = nullptr;
    const char* value = nullptr;
};

// A later key rewritten, whose identifier must be read anew; and the key
// being loaded rewritten before the drum prototype is asked about it, so
// that the value the loader read for it no longer holds. Inside a batch and
// outside one.
TEST(ActuatorListTest, LoadEntriesSeesWritesMadeDuringTheLoad) {
    struct Case {
        const char* key;
        const char* value;
        std::vector<std::string> expected;
    } const cases[] = {
        {"Drum_002",
         "1, 0, 0, 99",
         {"DrumColor Drum_000=1, 0, 0, 99", "DrumColor Drum_000=2, 0, 0, 6"}},
        {"Drum_000",
         "4, 0, 0, 99",
         {"DrumColor Drum_000=4, 0, 0, 99", "DrumColor Drum_000=2, 0, 0, 6",
          "DrumColor Drum_000=3, 0, 0, 7"}},
    };
    test::TempDir dir;
    const std::string file = dir.File("rewritten.ini");
    for (const Case& c : cases) {
        for (bool batch : {true, false}) {
            SCOPED_TRACE(std::string(c.key) + (batch ? " in a batch" : " no batch"));
            test::WriteFile(file,
                            "[S]\nDrum_000=1, 0, 0, 5\nDrum_001=2, 0, 0, 6\nDrum_002=3, 0, 0, 7\n");
            Rewriter rewriter;
            rewriter.key = c.key;
            rewriter.value = c.value;
            std::vector<Attuat*> prototypes = detail::ColorPrototypes();
            prototypes.insert(prototypes.begin(), &rewriter);
            std::optional<profile::Batch> open;
            if (batch) {
                open.emplace(file.c_str());
            }
            ActuatorList list;
            detail::LoadEntries(list, prototypes, "S", file.c_str());
            EXPECT_EQ(Described(list), c.expected);
        }
    }
}

}  // namespace
}  // namespace knitcfg
