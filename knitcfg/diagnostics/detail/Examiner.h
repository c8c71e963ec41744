#pragma once

// The walk behind Diagnose: one pass over the parsed file, section by
// section, beside the model that the load made of the same file. Internal to
// the library.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/diagnostics/Diagnostic.h"
#include "knitcfg/profile/detail/IniDocument.h"

namespace knitcfg::detail {

// The edit distance of `a` and `b` (letter case aside; an exchange of two
// neighbours counts as one edit), or limit + 1 when it is above `limit`.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit);
// The part of a name that should be a known prefix: up to and with its
// first '_', or its leading letters and a '_' when it has none.
std::string Lead(std::string_view name);
// `text` quoted for a message: cut to a readable length, bytes that are not
// printable written as \xNN.
std::string Quoted(std::string_view text);

class Examiner {
public:
    Examiner(const IniDocument& doc, const Configuration& config, int loadCode,
             std::vector<Diagnostic>* out);
    void Run();

private:
    using Section = IniDocument::Section;
    using Line = IniDocument::Line;

    // The line of the file of body line `j` of section `index`.
    int LineOf(std::size_t index, std::size_t j) const;
    int HeaderLine(std::size_t index) const { return static_cast<int>(first_[index]); }
    std::size_t IndexOf(const Section* section) const;
    void Add(Severity severity, int line, std::string_view section, std::string_view key,
             const char* id, std::string message, int code = 0);

    // Diagnose.cpp
    bool ExamineFile();
    void ExamineProtection();
    void ExamineHeader();
    void ExamineSection(std::size_t index);
    void ExamineUnknownSection(std::size_t index);
    void ExamineColorPlanes(std::size_t index);
    void ExaminePlaneSection(std::size_t index);
    void ExamineGeneratedDis(std::size_t index);
    void ExamineDesignSection(std::size_t index);
    void ExamineShaved(std::size_t index);
    void ExamineKeysOf(std::size_t index, const char* const* known, bool warnUnknown);
    void ExamineRepeatedKeys(std::size_t index, bool tableSection);
    void NoteComments(std::size_t index);
    void CrossReferences();
    // Checks a number read as GetInt reads it: text after it, a value cut to
    // 16 bits when `sixteen`.
    void CheckNumber(std::string_view value, int line, std::string_view section,
                     std::string_view key, bool sixteen);

    // DiagnoseEntries.cpp
    void ExamineProgram(std::size_t index, bool color);
    void ExamineUnknownKey(std::size_t index, std::size_t j, bool color);
    void CheckNumberOfName(std::size_t index, std::size_t prefixLength, bool hasId, int id,
                           int idLine, bool color);

    const IniDocument& doc_;
    const Configuration& config_;
    const int loadCode_;
    std::vector<Diagnostic>& out_;
    std::vector<std::uint32_t> first_;             // first line of each section
    std::unordered_set<std::string> designNames_;  // listed in GeneratedDis, folded
    bool planeEntries_ = false;                    // ColorPlanes lists a key: plane sections unread

    // What the programs' sections said, for the cross references.
    struct ProgramPlace {
        short number;
        short plane;
        int line;       // of the ID key, or of the header when there is none
        int planeLine;  // of the Plane key, or of the header
        std::string section;
    };
    std::vector<ProgramPlace> colors_;
    std::vector<ProgramPlace> lines_;

    // Per identifier (offset by 32768), the entry of the section being walked
    // that made its actuator, or -1: the merge by identifier of the load.
    std::vector<std::int32_t> owner_;
};

}  // namespace knitcfg::detail
