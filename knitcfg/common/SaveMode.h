#pragma once

namespace knitcfg {

// How a save treats the file it writes over. Rewrite writes the document
// alone: whatever it does not hold (comments, sections and keys of other
// software, plane sections, lines of planes above 1) is gone. Preserve starts
// from the file the document is bound to and changes only what the document
// owns (README, "A preserving save").
enum class SaveMode { Rewrite, Preserve };

}  // namespace knitcfg
