#include "knitcfg/designs/CGenDis.h"

#include <string_view>

#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/designs/detail/DesignLines.h"
#include "knitcfg/paths/DriveLetter.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(CGenDis, ModelObject)

using detail::LenientInt;
using detail::TextAfter;
using detail::TextBefore;

namespace {

constexpr const char* kTableSection = "GeneratedDis";

}  // namespace

CGenDis::CGenDis() = default;

CGenDis::CGenDis(const CGenDis& other)
    : ModelObject(other), Name(other.Name), First(other.First), Second(other.Second) {
    Patterns.reserve(other.Patterns.size());
    for (const auto& pattern : other.Patterns) {
        Patterns.emplace_back(pattern->Clone());
    }
}

CGenDis::~CGenDis() = default;

RETERROR CGenDis::LoadSection(const char* line, const char* file) {
    const std::string_view text(line != nullptr ? line : "");
    Name.assign(TextBefore(text, '='));
    const std::string_view rest = TextAfter(text, '=');
    if (rest.find(',') == std::string_view::npos) {
        First = 0;
        Second = LenientInt(rest);
    } else {
        First = LenientInt(TextBefore(rest, ','));
        Second = LenientInt(TextAfter(rest, ','));
    }

    for (const std::string& patternLine : detail::ReadSectionLines(Name.c_str(), file)) {
        auto pattern = std::make_unique<CPatObj>();
        static_cast<void>(pattern->LoadSection(patternLine.c_str()));
        Patterns.push_back(std::move(pattern));
    }
    // Only now: the section is found under the name as the file spells it,
    // drive included.
    DelDriveLetter(Name);
    return RE_SUCCESS;
}

RETERROR CGenDis::Save(const char* file) const {
    return Save(file, SaveMode::Rewrite);
}

RETERROR CGenDis::Save(const char* file, SaveMode mode) const {
    const std::string numbers = std::to_string(First) + "," + std::to_string(Second);
    const bool written = profile::WriteString(kTableSection, Name.c_str(), numbers.c_str(), file);
    // The section is rebuilt from the list even when the table line was
    // refused: what the file holds under this name is never half old, half new.
    // Emptied in place, the section's new keys go right after its header,
    // as in a section made anew.
    if (mode == SaveMode::Preserve && !Patterns.empty()) {
        static_cast<void>(profile::WriteSection(Name.c_str(), "\0", file));
    } else {
        static_cast<void>(profile::WriteString(Name.c_str(), nullptr, nullptr, file));
    }
    for (const auto& pattern : Patterns) {
        static_cast<void>(pattern->Save(Name.c_str(), file));
    }
    return written ? RE_SUCCESS : RE_WRITE_LAST_DEVELOP;
}

CPatObj* CGenDis::GetPatObject(int color) {
    for (const auto& pattern : Patterns) {
        if (pattern->Color == color) {
            return pattern.get();
        }
    }
    return nullptr;
}

const CPatObj* CGenDis::GetPatObject(int color) const {
    return const_cast<CGenDis*>(this)->GetPatObject(color);
}

void CGenDis::UpdateColorAssociation(int color, int association, const char* patternName) {
    for (auto it = Patterns.begin(); it != Patterns.end(); ++it) {
        if ((*it)->Color != color) {
            continue;
        }
        if (patternName == nullptr) {
            Patterns.erase(it);
        } else {
            (*it)->PatternName = patternName;
            (*it)->Association = association;
        }
        return;
    }
    if (patternName == nullptr || *patternName == '\0') {
        return;
    }
    auto pattern = std::make_unique<CPatObj>();
    pattern->Color = color;
    pattern->Association = association;
    pattern->PatternName = patternName;
    Patterns.push_back(std::move(pattern));
}

int CGenDis::UpdateColorRemap(int color, IndexList* remap) {
    CPatObj* pattern = GetPatObject(color);
    if (pattern == nullptr || remap == nullptr) {
        return 0;
    }
    pattern->Remap = *remap;
    return 1;
}

}  // namespace knitcfg
