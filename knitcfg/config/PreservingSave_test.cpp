// The preserving save: what the document owns is written, what it no longer
// holds goes, everything else stays byte for byte.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

class SaveModeTest : public ::testing::Test {
protected:
    std::string Copy(const std::string& from, const char* name) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, test::ReadFile(test::TestDataDir() + "/" + from));
        return path;
    }

    // What the default save writes of `doc`: two documents are the same when
    // this is.
    std::string Rewritten(Configuration& doc) {
        const std::string path = dir_.File("rewritten.ini");
        EXPECT_EQ(doc.SaveCFG(path.c_str()), RE_SUCCESS);
        return test::ReadFile(path);
    }

    test::TempDir dir_;
    test::ScopedTempFolder tmp_{dir_.path()};
};

// Comments, an unknown section and header key, plane sections, a line's help
// text, a line of plane 2 and a misspelt color key stay; the edited actuator
// and the removed color show; in place or to a new file alike.
TEST_F(SaveModeTest, HandEditedFileKeepsWhatTheDocumentDoesNotOwn) {
    const std::string golden = test::ReadFile(test::TestDataDir() + "/config/preserve.saved.ini");
    for (const bool inPlace : {true, false}) {
        const std::string path = Copy("config/preserve.ini", "machine.ini");
        const std::string other = dir_.File("other.ini");
        Configuration doc;
        ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
        ASSERT_NE(doc.GetAttuat(3, 2), nullptr);
        doc.GetAttuat(3, 2)->IdCaduta = 2;
        ASSERT_EQ(doc.RemoveColor(3), 1);
        const std::string& target = inPlace ? path : other;
        ASSERT_EQ(doc.SaveCFG(target.c_str(), SaveMode::Preserve), RE_SUCCESS);
        EXPECT_EQ(doc.GetPathName(), target);
        EXPECT_EQ(test::ReadFile(target), golden) << (inPlace ? "in place" : "to a new file");
        if (!inPlace) {
            EXPECT_EQ(test::ReadFile(path),
                      test::ReadFile(test::TestDataDir() + "/config/preserve.ini"));
        }

        Configuration reloaded;
        ASSERT_EQ(reloaded.LoadCFG(target.c_str()), RE_SUCCESS);
        EXPECT_EQ(Rewritten(reloaded), Rewritten(doc));
    }
}

// A file as the default save writes it comes back byte for byte.
TEST_F(SaveModeTest, DefaultSavedFileIsUnchanged) {
    for (const char* name : {"program/document.ini", "designs/tables.ini", "planes/sections.ini",
                             "config/hand-edited.ini", "config/preserve.ini"}) {
        const std::string path = Copy(name, "machine.ini");
        Configuration loaded;
        static_cast<void>(loaded.LoadCFG(path.c_str()));
        static_cast<void>(loaded.SaveCFG(path.c_str()));
        const std::string saved = test::ReadFile(path);
        Configuration doc;
        static_cast<void>(doc.LoadCFG(path.c_str()));
        // The codes are those of the default save of the same document.
        Configuration twin(doc);
        const RETERROR code = twin.SaveCFG(dir_.File("twin.ini").c_str());
        EXPECT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), code) << name;
        EXPECT_EQ(test::ReadFile(path), saved) << name;
    }
}

// Over a file as the default save writes it, removals and changes give what
// the default save gives: the sections left keep their places, the removed
// ones go.
TEST_F(SaveModeTest, EditsOfADefaultSavedFileGiveTheDefaultSave) {
    struct Case {
        const char* file;
        int (*edit)(Configuration&);  // 1 when it changed the document
    };
    const Case cases[] = {
        {"program/document.ini", [](Configuration& doc) { return doc.RemoveColor(1); }},
        {"program/document.ini",
         [](Configuration& doc) {
             doc.HeaderSetDescription("New");
             return 1;
         }},
        {"config/preserve.ini", [](Configuration& doc) { return doc.RemoveLastLine(1); }},
        {"designs/tables.ini", [](Configuration& doc) { return doc.GeneratedDisDel("\\dis\\a"); }},
        {"designs/tables.ini",
         [](Configuration& doc) {
             doc.GeneratedDisRemove();
             return 1;
         }},
        {"designs/tables.ini",
         [](Configuration& doc) {
             doc.ShavedDisRemove();
             return 1;
         }},
    };
    for (const Case& c : cases) {
        const std::string path = Copy(c.file, "machine.ini");
        Configuration first;
        static_cast<void>(first.LoadCFG(path.c_str()));
        static_cast<void>(first.SaveCFG(path.c_str()));
        Configuration doc;
        static_cast<void>(doc.LoadCFG(path.c_str()));
        ASSERT_EQ(c.edit(doc), 1) << c.file;
        const std::string expected = Rewritten(doc);
        doc.SetPathName(path.c_str());
        static_cast<void>(doc.SaveCFG(path.c_str(), SaveMode::Preserve));
        EXPECT_EQ(test::ReadFile(path), expected) << c.file;
    }
}

// The text of section `name` of `text`, header to the next header.
std::string SectionText(const std::string& text, const std::string& name) {
    const std::size_t begin = text.find("[" + name + "]");
    if (begin == std::string::npos) {
        return std::string();
    }
    return text.substr(begin, text.find("\n[", begin) - begin);
}

// Hand-edited sections that load to what the document holds stay byte for
// byte (blanks, other key numbers and order, comments, unknown keys); only
// a section whose meaning the edit changed is rewritten.
TEST_F(SaveModeTest, SectionsThatMeanTheSameStay) {
    const std::string text =
        "[Protection]\r\nConfigProtected=0\r\n"
        "[Header]\r\nMachineType=KM-400\r\nVersion=2.7\r\nDescription=Hand\r\n"
        "NumberOfLines=4\r\nStartBlock=0\r\n"
        "[Color_001]\r\nPlane = 1\r\nID = 1\r\nHelpAbstract=Back\r\n"
        "Finger_3 = 5,2,2,1\r\n; the drum stays\r\nDrum_9=3,1,1,0\r\nYarn = wool\r\nHelp=Plain\r\n"
        "[Color_002]\r\nID=2\r\nPlane=1\r\nHelpAbstract=Red\r\nHelp=Red\r\n"
        "Drum_001 = 3,1,1,1\r\nDrum_002=9, 4, 4, 0\r\n"
        "[Line_000]\r\nFinger_7 = 5, 2, 2\r\n; cam\r\nDrum_3=3,1,1\r\nHelp=First line\r\n";
    struct Case {
        void (*edit)(Configuration&);
        const char* changed;  // the one section that changes, or none
    };
    const Case cases[] = {
        {[](Configuration&) {}, ""},
        {[](Configuration& doc) { doc.GetAttuat(3, 2)->IdCaduta = 2; }, "Color_002"},
        {[](Configuration& doc) { doc.GetColor(1)->HelpAbstract = "Wool"; }, "Color_001"},
        {[](Configuration& doc) { doc.LinePrgGetAttuat(3)->IdCaduta = 2; }, "Line_000"},
    };
    for (const Case& c : cases) {
        const std::string path = dir_.File("machine.ini");
        test::WriteFile(path, text);
        Configuration doc;
        static_cast<void>(doc.LoadCFG(path.c_str()));
        c.edit(doc);
        ASSERT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), RE_SUCCESS);
        const std::string saved = test::ReadFile(path);
        for (const char* name : {"Header", "Color_001", "Color_002", "Line_000"}) {
            EXPECT_EQ(SectionText(saved, name) == SectionText(text, name),
                      name != std::string(c.changed))
                << name << " after editing " << c.changed << ":\n"
                << saved;
        }
        Configuration reloaded;
        static_cast<void>(reloaded.LoadCFG(path.c_str()));
        EXPECT_EQ(Rewritten(reloaded), Rewritten(doc)) << c.changed;
    }
}

// A color whose key listing is cut at its room was not loaded whole: it is
// rewritten, however the part loaded compares.
TEST_F(SaveModeTest, SectionLoadedInPartIsRewritten) {
    std::string text =
        "[Protection]\r\nConfigProtected=0\r\n"
        "[Header]\r\nMachineType=KM-400\r\nVersion=2.7\r\nDescription=Hand\r\n"
        "NumberOfLines=4\r\nStartBlock=0\r\n"
        "[Color_001]\r\nID=1\r\nPlane=1\r\nHelpAbstract=\r\nHelp=\r\n";
    for (int i = 0; i < 1000; ++i) {
        text += "Drum_" + std::to_string(1000 + i) + " = " + std::to_string(i) + ",1,1,0\r\n";
    }
    const std::string path = dir_.File("machine.ini");
    test::WriteFile(path, text);
    Configuration doc;
    static_cast<void>(doc.LoadCFG(path.c_str()));
    ASSERT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), RE_SUCCESS);
    EXPECT_NE(SectionText(test::ReadFile(path), "Color_001"), SectionText(text, "Color_001"));
}

// No file to start from: the document alone, as the default save writes it.
TEST_F(SaveModeTest, WithoutABoundFileItIsTheDefaultSave) {
    Configuration doc("KM-400", 2, 7, 4);
    ASSERT_NE(doc.AddColor(1, 1), nullptr);
    const std::string expected = Rewritten(doc);
    for (const char* bound : {"", "missing.ini"}) {
        doc.SetPathName(bound[0] == '\0' ? "" : dir_.File(bound).c_str());
        const std::string path = dir_.File("new.ini");
        ASSERT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), RE_SUCCESS);
        EXPECT_EQ(test::ReadFile(path), expected) << bound;
        std::remove(path.c_str());
    }
}

// A bound file that is there but cannot be read: the save fails rather than
// lose what the file holds, and leaves the target alone.
TEST_F(SaveModeTest, UnreadableBoundFileFailsTheSave) {
    Configuration doc("KM-400", 2, 7, 4);
    const std::string target = dir_.File("target.ini");
    test::WriteFile(target, "[Notes]\r\n");
    doc.SetPathName(dir_.path().c_str());  // a folder
    EXPECT_EQ(doc.SaveCFG(target.c_str(), SaveMode::Preserve), RE_FILE_REPLACE);
    EXPECT_EQ(test::ReadFile(target), "[Notes]\r\n");
    EXPECT_EQ(doc.GetPathName(), target);
}

// Random files of colors, lines of planes 1 and 2, unknown sections and keys
// and comments anywhere; random edits of the document. Every line the
// document does not own is still there after a preserving save, in order.
TEST_F(SaveModeTest, NonOwnedLinesNeverChange) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
        std::vector<std::string> lines;
        std::vector<std::string> kept;  // the non-owned lines, in file order
        int tag = 0;
        auto own = [&](const std::string& line) { lines.push_back(line); };
        auto other = [&](const std::string& line) {
            lines.push_back(line);
            kept.push_back(line);
        };
        auto noise = [&]() {
            if (chance(30)) {
                other("; note " + std::to_string(++tag));
            }
            if (chance(10)) {
                other("");
            }
        };
        std::vector<std::vector<std::string>> sections;
        own("[Protection]");
        own("ConfigProtected=0");
        own("[Header]");
        for (const char* key : {"MachineType=KM-400", "Version=2.7", "Description=Random",
                                "NumberOfLines=4", "StartBlock=0"}) {
            noise();
            own(key);
            if (chance(25)) {
                other("Operator" + std::to_string(++tag) + "=someone");
            }
        }
        const int colors = 1 + static_cast<int>(rng() % 6);
        for (int section = 0; section < colors + 6; ++section) {
            noise();
            const int kind = section < colors ? 0 : static_cast<int>(rng() % 3) + 1;
            const int n = section + 1;
            if (kind == 0) {
                own("[Color_00" + std::to_string(n) + "]");
                own("ID=" + std::to_string(n));
                own("Plane=1");
                noise();
                for (int d = 0; d < 1 + static_cast<int>(rng() % 4); ++d) {
                    own("Drum_00" + std::to_string(d) + "=" + std::to_string(10 + d) + ", " +
                        std::to_string(d) + ", 1, 0");
                    noise();
                }
            } else if (kind == 1) {
                other("[Extra_" + std::to_string(++tag) + "]");
                other("Key=" + std::to_string(rng()));
                noise();
            } else if (kind == 2) {
                own("[Line_00" + std::to_string(n % 10) + "]");
                own("Drum_000=" + std::to_string(n) + ", 1, 1");
            } else {
                other("[Line_01" + std::to_string(n % 10) + "]");
                other("ID=1" + std::to_string(n % 10));
                other("Plane=2");
                other("Help=plane two " + std::to_string(++tag));
                other("Drum_000=3, 1, 1");
            }
        }
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        const std::string path = dir_.File("random.ini");
        test::WriteFile(path, text);

        Configuration doc;
        static_cast<void>(doc.LoadCFG(path.c_str()));
        if (chance(50)) {
            doc.RemoveColor(static_cast<short>(1 + rng() % colors));
        }
        if (chance(50)) {
            doc.HeaderSetDescription("Edited");
        }
        ASSERT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), RE_SUCCESS) << "seed " << seed;

        const std::string saved = test::ReadFile(path);
        std::size_t next = 0;
        std::size_t at = 0;
        while (at < saved.size() && next < kept.size()) {
            std::size_t end = saved.find("\r\n", at);
            end = end == std::string::npos ? saved.size() : end;
            if (saved.compare(at, end - at, kept[next]) == 0) {
                ++next;
            }
            at = end + 2;
        }
        EXPECT_EQ(next, kept.size()) << "seed " << seed << ": lost or moved \""
                                     << (next < kept.size() ? kept[next] : "") << "\"\n"
                                     << saved;
    }
}

}  // namespace
}  // namespace knitcfg
