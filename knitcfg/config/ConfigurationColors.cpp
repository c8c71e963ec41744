// The document's color steps: LoadColors, SaveColors and the color list.

#include <memory>

#include "knitcfg/common/detail/Names.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/config/detail/ProgramSections.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

RETERROR Configuration::LoadColors() {
    // A batch of its own, so that a call outside LoadCFG also reads the file
    // once; inside LoadCFG it joins that batch.
    profile::Batch batch(pathName_.c_str());
    const bool listed =
        detail::ForEachSection(pathName_.c_str(), "Color_", [this](const char* name) {
            auto color = std::make_unique<ColorPrg>();
            color->LoadSection(name, pathName_.c_str());
            colors_.push_back(std::move(color));
        });
    return listed ? RE_SUCCESS : RE_NO_COLOR_SECTIONS;
}

RETERROR Configuration::SaveColors() {
    const SaveMode mode = saveMode_;
    profile::Batch batch(pathName_.c_str());
    if (mode == SaveMode::Preserve) {
        // Every color section is the document's: one it no longer writes
        // (a color removed, renumbered) goes.
        detail::RemoveSectionsNotWritten(
            pathName_.c_str(), "Color_", colors_,
            [](const ColorPrg& color) { return detail::NumberedName("Color_", color.ID); },
            [](const char*, const char*) { return true; });
    }
    return detail::SaveEach(colors_, pathName_.c_str(), [mode](ColorPrg& color, const char* file) {
        return color.SaveColor(file, mode);
    });
}

const std::vector<std::unique_ptr<ColorPrg>>& Configuration::Colors() const {
    return colors_;
}

}  // namespace knitcfg
