// The design tables of the document: generated designs and shaved designs.

#include <algorithm>
#include <cstring>

#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/common/detail/FirstCode.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/designs/detail/DesignLines.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

using detail::EqualsNoCase;

namespace {

constexpr const char* kGeneratedSection = "GeneratedDis";
constexpr const char* kShavedSection = "ShavedDis";

template <typename T>
T* FindNoCase(const std::vector<std::unique_ptr<T>>& list, const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const auto& item) { return EqualsNoCase(item->Name, name); });
    return it == list.end() ? nullptr : it->get();
}

}  // namespace

// --- Generated designs -----------------------------------------------------

RETERROR Configuration::LoadGenDis() {
    const char* file = pathName_.c_str();
    // One freshness check and parse of the file for all the sections read,
    // also when called on its own rather than from LoadCFG.
    profile::Batch batch(file);
    if (!detail::FileHasSections(file)) {
        return RE_NO_SECTIONS;
    }
    for (const std::string& line : detail::ReadSectionLines(kGeneratedSection, file)) {
        auto design = std::make_unique<CGenDis>();
        static_cast<void>(design->LoadSection(line.c_str(), file));
        designs_.push_back(std::move(design));
    }
    return RE_SUCCESS;
}

RETERROR Configuration::SaveGenDis() const {
    const char* file = pathName_.c_str();
    // Every removal and line goes into one batch: a table of hundreds of
    // designs is one write of the file, not one per line. Inside SaveCFG this
    // joins the save's own batch.
    profile::Batch batch(file);
    const SaveMode mode = saveMode_;
    // The old table names the sections to drop, also those of designs that
    // are no longer held or whose name has changed since. A preserving save
    // keeps in place the sections (and the table) it writes again.
    for (const std::string& line : detail::ReadSectionLines(kGeneratedSection, file)) {
        const std::string name(detail::TextBefore(line, '='));
        if (mode != SaveMode::Preserve || FindNoCase(designs_, name.c_str()) == nullptr) {
            static_cast<void>(profile::WriteString(name.c_str(), nullptr, nullptr, file));
        }
    }
    if (mode == SaveMode::Preserve && !designs_.empty()) {
        static_cast<void>(profile::WriteSection(kGeneratedSection, "\0", file));
    } else {
        static_cast<void>(profile::WriteString(kGeneratedSection, nullptr, nullptr, file));
    }
    detail::FirstCode result;
    for (const auto& design : designs_) {
        result.Note(design->Save(file, mode));
    }
    // Only a batch of its own writes here; one joined to a save's batch
    // leaves the writing, and its outcome, to that save.
    result.Check(batch.Commit(), RE_WRITE_LAST_DEVELOP);
    return result.Get();
}

CGenDis* Configuration::GeneratedDisSearch(const char* name) {
    return FindNoCase(designs_, name);
}

void Configuration::GeneratedDisGet(StringArray* names) const {
    if (names == nullptr) {
        return;
    }
    for (const auto& design : designs_) {
        names->push_back(design->Name);
    }
}

CGenDis* Configuration::GeneratedDisUpdate(const char* name, int first, int second) {
    if (name == nullptr) {
        return nullptr;
    }
    CGenDis* design = GeneratedDisSearch(name);
    if (design == nullptr) {
        auto created = std::make_unique<CGenDis>();
        created->Name = name;
        design = created.get();
        designs_.push_back(std::move(created));
    }
    design->First = first;
    design->Second = second;
    return design;
}

void Configuration::GeneratedDisRemove() {
    designs_.clear();
}

int Configuration::GeneratedDisDel(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    const auto it = std::find_if(designs_.begin(), designs_.end(),
                                 [&](const auto& design) { return design->Name == name; });
    if (it == designs_.end()) {
        return 0;
    }
    designs_.erase(it);
    return 1;
}

const std::vector<std::unique_ptr<CGenDis>>& Configuration::Designs() const {
    return designs_;
}

// --- Shaved designs --------------------------------------------------------

RETERROR Configuration::LoadShavedDis() {
    const char* file = pathName_.c_str();
    profile::Batch batch(file);
    if (!detail::FileHasSections(file)) {
        return RE_NO_SECTIONS;
    }
    for (const std::string& line : detail::ReadSectionLines(kShavedSection, file)) {
        auto entry = std::make_unique<CShavedDis>();
        static_cast<void>(entry->Load(line.c_str()));
        shaved_.push_back(std::move(entry));
    }
    return RE_SUCCESS;
}

RETERROR Configuration::SaveShavedDis() const {
    const char* file = pathName_.c_str();
    profile::Batch batch(file);
    if (saveMode_ == SaveMode::Preserve) {
        // The section is the document's: emptied in place when it is written
        // again, removed when nothing is left to write.
        const bool any = std::any_of(shaved_.begin(), shaved_.end(), [](const auto& entry) {
            return !entry->Name.empty() && !entry->Elements.empty();
        });
        if (any) {
            static_cast<void>(profile::WriteSection(kShavedSection, "\0", file));
        } else {
            static_cast<void>(profile::WriteString(kShavedSection, nullptr, nullptr, file));
        }
    }
    RETERROR result = RE_SUCCESS;
    for (const auto& entry : shaved_) {
        // An entry without name or elements has nothing the file could hold.
        if (entry->Name.empty() || entry->Elements.empty()) {
            continue;
        }
        result = entry->Save(file);
    }
    // As in SaveGenDis: only a batch of its own writes here.
    return batch.Commit() ? result : RE_WRITE_SHAVED;
}

int Configuration::ShavedDisGetList(StringArray* names) const {
    if (names == nullptr) {
        return 0;
    }
    names->clear();
    for (const auto& entry : shaved_) {
        names->push_back(entry->Name);
    }
    return static_cast<int>(names->size());
}

int Configuration::ShavedDisGet(const char* name, UIntArray* values) const {
    if (values == nullptr) {
        return 0;
    }
    values->clear();
    const CShavedDis* entry = FindNoCase(shaved_, name);
    if (entry == nullptr) {
        return 0;
    }
    values->reserve(3 + entry->Elements.size());
    values->push_back(detail::IntToBits(entry->First));
    values->push_back(detail::IntToBits(entry->Second));
    values->push_back(detail::IntToBits(entry->Third));
    values->insert(values->end(), entry->Elements.begin(), entry->Elements.end());
    return static_cast<int>(values->size());
}

void Configuration::ShavedDisSet(const char* name, UIntArray* values) {
    if (name == nullptr) {
        return;
    }
    CShavedDis* entry = FindNoCase(shaved_, name);
    if (entry == nullptr) {
        auto created = std::make_unique<CShavedDis>();
        created->Name = name;
        entry = created.get();
        shaved_.push_back(std::move(created));
    }
    if (values == nullptr || values->size() < 4) {
        return;
    }
    entry->First = detail::BitsToInt((*values)[0]);
    entry->Second = detail::BitsToInt((*values)[1]);
    entry->Third = detail::BitsToInt((*values)[2]);
    entry->Elements.assign(values->begin() + 3, values->end());
}

int Configuration::ShavedDisDel(const char* name) {
    // Null is no text: taken as "", it would delete the first entry.
    if (name == nullptr) {
        return 0;
    }
    const auto it = std::find_if(shaved_.begin(), shaved_.end(), [&](const auto& entry) {
        return entry->Name.find(name) != std::string::npos;
    });
    if (it == shaved_.end()) {
        return 0;
    }
    shaved_.erase(it);
    return 1;
}

void Configuration::ShavedDisRemove() {
    shaved_.clear();
}

const std::vector<std::unique_ptr<CShavedDis>>& Configuration::ShavedDesigns() const {
    return shaved_;
}

}  // namespace knitcfg
