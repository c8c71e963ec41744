// The preserving save: what the document owns is written, what it no longer
// holds goes, everything else stays byte for byte.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "DocumentFileTest.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

using test::ReadFile;

class SaveModeTest : public test::DocumentFileTest {
protected:
    // Saves `doc` with Preserve over `path`; then checks that loading the
    // file gives what the document holds (the same default save).
    void PreserveAndCompare(Configuration& doc, const std::string& path) {
        ASSERT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), RE_SUCCESS);
        EXPECT_EQ(doc.GetPathName(), path);
        Configuration reloaded;
        static_cast<void>(reloaded.LoadCFG(path.c_str()));
        EXPECT_EQ(Saved(reloaded), Saved(doc));
    }
};

// Comments, an unknown section and header key, plane sections, a line's help
// text, a line of plane 2 and a misspelt color key stay; the edited actuator
// and the removed color show; in place or to a new file alike.
TEST_F(SaveModeTest, HandEditedFileKeepsWhatTheDocumentDoesNotOwn) {
    for (const bool inPlace : {true, false}) {
        const std::string path = Copy("config/preserve.ini");
        const std::string target = inPlace ? path : dir_.File("other.ini");
        Configuration doc;
        ASSERT_EQ(doc.LoadCFG(path.c_str()), RE_SUCCESS);
        doc.GetAttuat(3, 2)->IdCaduta = 2;
        ASSERT_EQ(doc.RemoveColor(3), 1);
        PreserveAndCompare(doc, target);
        EXPECT_EQ(ReadFile(target), ReadFile(Data("config/preserve.saved.ini"))) << inPlace;
        EXPECT_EQ(ReadFile(path),
                  ReadFile(Data(inPlace ? "config/preserve.saved.ini" : "config/preserve.ini")));
    }
}

// Over a file as the default save writes it, no edit keeps every byte, and
// removals and changes give what the default save gives: the sections left
// keep their places, the removed ones go. The codes are the default save's.
// (An edited file shows as well what its unedited parts become.)
TEST_F(SaveModeTest, EditsOfADefaultSavedFileGiveTheDefaultSave) {
    const std::function<int(Configuration&)> none = [](Configuration&) { return 1; };
    const std::pair<const char*, std::function<int(Configuration&)>> cases[] = {
        {"planes/sections.ini", none},
        {"config/hand-edited.ini", none},
        {"program/document.ini", [](Configuration& doc) { return doc.RemoveColor(1); }},
        {"program/document.ini",
         [](Configuration& doc) { return (doc.HeaderSetDescription("New"), 1); }},
        {"config/preserve.ini", [](Configuration& doc) { return doc.RemoveLastLine(1); }},
        {"designs/tables.ini", [](Configuration& doc) { return doc.GeneratedDisDel("\\dis\\a"); }},
        {"designs/tables.ini",
         [](Configuration& doc) { return (doc.GeneratedDisRemove(), doc.ShavedDisRemove(), 1); }},
    };
    for (const auto& [file, edit] : cases) {
        SCOPED_TRACE(file);
        const std::string path = Copy(file);
        Configuration first;
        static_cast<void>(first.LoadCFG(path.c_str()));
        static_cast<void>(first.SaveCFG(path.c_str()));
        Configuration doc;
        static_cast<void>(doc.LoadCFG(path.c_str()));
        ASSERT_EQ(edit(doc), 1);
        Configuration twin(doc);
        RETERROR code;
        const std::string expected = Saved(twin, &code);
        EXPECT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), code);
        EXPECT_EQ(ReadFile(path), expected);
    }
}

// The text of section `name` of `text`, header to the next header.
std::string SectionText(const std::string& text, const std::string& name) {
    const std::size_t begin = text.find("[" + name + "]");
    return begin == std::string::npos ? std::string()
                                      : text.substr(begin, text.find("\n[", begin) - begin);
}

// Hand-edited sections that load to what the document holds stay byte for
// byte (blanks, other key numbers and order, comments, unknown keys); only
// a section whose meaning the edit changed is rewritten.
TEST_F(SaveModeTest, SectionsThatMeanTheSameStay) {
    std::string text = ReadFile(Data("config/same-meaning.ini"));
    struct Case {
        void (*edit)(Configuration&);
        const char* changed;  // the one section that changes, or none
    } const cases[] = {
        {[](Configuration&) {}, ""},
        {[](Configuration& doc) { doc.GetAttuat(3, 2)->IdCaduta = 2; }, "Color_002"},
        {[](Configuration& doc) { doc.GetColor(1)->HelpAbstract = "Wool"; }, "Color_001"},
        {[](Configuration& doc) { doc.LinePrgGetAttuat(3)->IdCaduta = 2; }, "Line_000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changed);
        const std::string path = dir_.File("machine.ini");
        test::WriteFile(path, text);
        Configuration doc;
        static_cast<void>(doc.LoadCFG(path.c_str()));
        c.edit(doc);
        PreserveAndCompare(doc, path);
        const std::string saved = ReadFile(path);
        for (const char* name : {"Header", "Color_001", "Color_002", "Line_000"}) {
            EXPECT_EQ(SectionText(saved, name) == SectionText(text, name),
                      name != std::string(c.changed))
                << name;
        }
    }
    // A color whose key listing is cut at its room was not loaded whole: it
    // is rewritten, however the part loaded compares.
    text += "[Color_003]\r\nID=3\r\nPlane=1\r\n";
    for (int i = 0; i < 1000; ++i) {
        text += "Drum_" + std::to_string(1000 + i) + " = " + std::to_string(i) + ",1,1,0\r\n";
    }
    const std::string path = dir_.File("partial.ini");
    test::WriteFile(path, text);
    Configuration doc;
    static_cast<void>(doc.LoadCFG(path.c_str()));
    ASSERT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), RE_SUCCESS);
    EXPECT_NE(SectionText(ReadFile(path), "Color_003"), SectionText(text, "Color_003"));
}

// No file to start from: the document alone, as the default save writes it.
// A bound file that is there but cannot be read fails the save rather than
// lose what it holds, and leaves the target alone.
TEST_F(SaveModeTest, BoundFileMissingOrUnreadable) {
    Configuration doc("KM-400", 2, 7, 4);
    ASSERT_NE(doc.AddColor(1, 1), nullptr);
    const std::string expected = Saved(doc);
    const std::string target = dir_.File("target.ini");
    for (const std::string& bound : {std::string(), dir_.File("missing.ini")}) {
        doc.SetPathName(bound.c_str());
        ASSERT_EQ(doc.SaveCFG(target.c_str(), SaveMode::Preserve), RE_SUCCESS);
        EXPECT_EQ(ReadFile(target), expected) << bound;
        std::remove(target.c_str());
    }
    test::WriteFile(target, "[Notes]\r\n");
    doc.SetPathName(dir_.path().c_str());  // a folder
    EXPECT_EQ(doc.SaveCFG(target.c_str(), SaveMode::Preserve), RE_FILE_REPLACE);
    EXPECT_EQ(ReadFile(target), "[Notes]\r\n");
    EXPECT_EQ(doc.GetPathName(), target);
}

// Random files of colors, lines of planes 1 and 2, unknown sections and keys
// and comments anywhere; random edits of the document. Every line the
// document does not own is still there after a preserving save, in order.
TEST_F(SaveModeTest, NonOwnedLinesNeverChange) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        // The file's lines; those the document does not own begin with '~'.
        std::vector<std::string> lines = {
            "[Protection]", "ConfigProtected=0",  "[Header]",        "MachineType=KM-400",
            "Version=2.7",  "Description=Random", "NumberOfLines=4", "StartBlock=0"};
        for (unsigned i = rng() % 3; i > 0; --i) {
            lines.insert(lines.begin() + 3 + rng() % 6,
                         "~Operator" + std::to_string(i) + "=someone");
        }
        const unsigned colors = 1 + rng() % 6;
        for (unsigned n = 1; n <= colors + 6; ++n) {
            const std::string id = std::to_string(n);
            const std::string m = std::to_string(n % 10);
            const unsigned kind = n <= colors ? 0 : 1 + rng() % 3;
            if (kind == 0) {
                lines.insert(lines.end(), {"[Color_00" + id + "]", "ID=" + id, "Plane=1"});
                for (unsigned d = 0; d <= rng() % 4; ++d) {
                    lines.push_back("Drum_00" + std::to_string(d) + "=" + std::to_string(10 + d) +
                                    ", " + std::to_string(d) + ", 1, 0");
                }
            } else if (kind == 1) {
                lines.insert(lines.end(), {"~[Extra_" + id + "]", "~Key=" + std::to_string(rng())});
            } else if (kind == 2) {
                lines.insert(lines.end(), {"[Line_00" + m + "]", "Drum_000=" + id + ", 1, 1"});
            } else {
                lines.insert(lines.end(), {"~[Line_01" + m + "]", "~ID=1" + m, "~Plane=2",
                                           "~Help=two " + id, "~Drum_000=3, 1, 1"});
            }
        }
        for (unsigned i = rng() % 16; i > 0; --i) {  // comments and blank lines
            lines.insert(lines.begin() + 1 + rng() % lines.size(),
                         rng() % 3 == 0 ? "~" : "~; note " + std::to_string(i));
        }
        std::string text;
        std::vector<std::string> kept;  // the non-owned lines, in file order
        for (const std::string& line : lines) {
            if (line[0] == '~') {
                kept.push_back(line.substr(1));
            }
            text += (line[0] == '~' ? line.substr(1) : line) + "\r\n";
        }
        const std::string path = dir_.File("random.ini");
        test::WriteFile(path, text);
        Configuration doc;
        static_cast<void>(doc.LoadCFG(path.c_str()));
        if (rng() % 2 == 0) {
            doc.RemoveColor(static_cast<short>(1 + rng() % colors));
        }
        if (rng() % 2 == 0) {
            doc.HeaderSetDescription("Edited");
        }
        ASSERT_EQ(doc.SaveCFG(path.c_str(), SaveMode::Preserve), RE_SUCCESS) << "seed " << seed;
        const std::string saved = ReadFile(path);
        std::size_t next = 0;
        for (std::size_t at = 0; at < saved.size() && next < kept.size();) {
            const std::size_t end = std::min(saved.find("\r\n", at), saved.size());
            next += saved.compare(at, end - at, kept[next]) == 0 ? 1 : 0;
            at = end + 2;
        }
        EXPECT_EQ(next, kept.size()) << "seed " << seed << ": lost or moved \""
                                     << (next < kept.size() ? kept[next] : "") << "\"\n"
                                     << saved;
    }
}

}  // namespace
}  // namespace knitcfg
