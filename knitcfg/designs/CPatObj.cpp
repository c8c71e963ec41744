#include "knitcfg/designs/CPatObj.h"

#include <memory>
#include <string_view>

#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/designs/SectionText.h"
#include "knitcfg/paths/DriveLetter.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(CPatObj, ModelObject)

using designs::LenientInt;
using designs::TextAfter;
using designs::TextBefore;

CPatObj::CPatObj() = default;
CPatObj::~CPatObj() = default;

RETERROR CPatObj::LoadSection(const char* line) {
    const std::string_view text(line != nullptr ? line : "");
    Color = LenientInt(TextBefore(text, '='));
    const std::string_view rest = TextAfter(text, '=');

    PatternName.assign(TextBefore(rest, ','));
    DelDriveLetter(PatternName);
    if (rest.find(',') == std::string_view::npos) {
        return RE_WRONG_KIND;
    }

    const std::string_view tail = TextAfter(rest, ',');
    if (tail.find(',') == std::string_view::npos) {
        Association = LenientInt(tail);
        return RE_SUCCESS;
    }
    Association = LenientInt(TextBefore(tail, ','));
    Remap.clear();
    // Tokens end at every single blank, so that two blanks in a row give an
    // empty token (a 0) while a blank at the very end gives nothing.
    std::string_view values = TextAfter(tail, ',');
    while (!values.empty()) {
        const std::size_t blank = values.find(' ');
        const std::string_view token =
            blank == std::string_view::npos ? values : values.substr(0, blank);
        values = blank == std::string_view::npos ? std::string_view() : values.substr(blank + 1);
        Remap.push_back(entry::Low16(LenientInt(token)));
    }
    return RE_SUCCESS;
}

RETERROR CPatObj::Save(const char* section, const char* file) const {
    std::string value = PatternName;
    value += ',';
    value += std::to_string(Association);
    if (!Remap.empty()) {
        value += ',';
        for (const short remap : Remap) {
            value += std::to_string(remap);
            value += ' ';
        }
    }
    const bool written =
        profile::WriteString(section, std::to_string(Color).c_str(), value.c_str(), file);
    return written ? RE_SUCCESS : RE_WRITE_PATTERN;
}

CPatObj* CPatObj::Clone() const {
    auto copy = std::make_unique<CPatObj>();
    copy->PatternName = PatternName;
    copy->Color = Color;
    copy->Association = Association;
    copy->Remap = Remap;
    return copy.release();
}

}  // namespace knitcfg
