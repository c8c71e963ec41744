// The document's plane steps: LoadPlanes, SavePlanes and CreatePlane.

#include <cstring>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/FirstCode.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

namespace {

constexpr const char* kPlanesSection = "ColorPlanes";
constexpr const char* kPlanePrefix = "Plane_";

// The plane keys of "ColorPlanes" are the document's: one that a load would
// read (a listed key beginning with "Plane_") and that no plane writes (a
// plane no longer held, or "Plane_1" where the plane writes "Plane_001")
// goes, or it would come back as one more plane at the next load.
void RemovePlaneKeysNotWritten(const std::vector<std::unique_ptr<PlanePrg>>& planes,
                               const char* file) {
    std::vector<char> names(detail::kListingSize);
    if (profile::GetString(kPlanesSection, nullptr, "", names.data(), detail::kListingSize, file) ==
        0) {
        return;
    }
    std::unordered_set<std::string> written;
    written.reserve(planes.size());
    for (const std::unique_ptr<PlanePrg>& plane : planes) {
        written.insert(FoldAsciiCase(detail::NumberedName(kPlanePrefix, plane->Number)));
    }
    std::vector<std::string> gone;
    detail::ForEachNameWithPrefix(names.data(), kPlanePrefix, [&](const char* name) {
        if (written.count(FoldAsciiCase(name)) == 0) {
            gone.emplace_back(name);
        }
    });
    for (const std::string& key : gone) {
        static_cast<void>(profile::WriteString(kPlanesSection, key.c_str(), nullptr, file));
    }
}

}  // namespace

RETERROR Configuration::LoadPlanes() {
    const char* file = pathName_.c_str();
    // A batch of its own, so that a call outside LoadCFG also reads the file
    // once; inside LoadCFG it joins that batch.
    profile::Batch batch(file);
    std::vector<char> names(detail::kListingSize);
    if (profile::GetString(kPlanesSection, nullptr, "", names.data(), detail::kListingSize, file) >
        0) {
        // Plane entries carry no number of lines or start block: the planes
        // take the header's.
        detail::ForEachNameWithPrefix(names.data(), kPlanePrefix, [&](const char* key) {
            auto plane = std::make_unique<PlanePrg>();
            plane->Load(key, file);
            plane->NumberOfLines = header_.NumberOfLines;
            plane->StartBlock = header_.StartBlock;
            planes_.push_back(std::move(plane));
        });
        return RE_SUCCESS;
    }
    names.assign(detail::kListingSize, '\0');
    profile::GetSectionNames(names.data(), detail::kListingSize, file);
    detail::ForEachNameWithPrefix(names.data(), kPlanePrefix, [&](const char* section) {
        auto plane = std::make_unique<PlanePrg>();
        static_cast<void>(plane->LoadSection(section, file));
        planes_.push_back(std::move(plane));
    });
    return RE_SUCCESS;
}

RETERROR Configuration::SavePlanes() {
    const char* file = pathName_.c_str();
    detail::FirstCode result;
    // One write of the file for all the entries; inside SaveCFG this joins
    // the save's own batch, which then does the writing.
    profile::Batch batch(file);
    if (saveMode_ == SaveMode::Preserve) {
        RemovePlaneKeysNotWritten(planes_, file);
    }
    for (const std::unique_ptr<PlanePrg>& plane : planes_) {
        result.Note(plane->SavePlane(file));
    }
    result.Check(batch.Commit(), RE_WRITE_PLANE);
    return result.Get();
}

RETERROR Configuration::CreatePlane(int number, const char* description, int priority) {
    try {
        auto plane = std::make_unique<PlanePrg>();
        plane->Number = static_cast<short>(number);
        plane->Priority = static_cast<short>(priority);
        plane->Description = description != nullptr ? description : "";
        plane->NumberOfLines = header_.NumberOfLines;
        plane->StartBlock = header_.StartBlock;
        planes_.push_back(std::move(plane));
    } catch (const std::bad_alloc&) {
        return RE_PLANE_NOT_ADDED;
    }
    return RE_SUCCESS;
}

const std::vector<std::unique_ptr<PlanePrg>>& Configuration::Planes() const {
    return planes_;
}

}  // namespace knitcfg
