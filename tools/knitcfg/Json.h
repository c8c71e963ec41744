#pragma once

// JSON output of the model, written as the model is walked. Texts of the
// model are 8-bit: by default every byte above 127 is written as \u00XX
// (the byte read as Latin-1) and every control character escaped, so the
// output is plain ASCII and always valid JSON whatever a file holds.

#include <ostream>
#include <string>
#include <string_view>

#include "ModelView.h"

namespace knitcfg {
class Configuration;
}

namespace knitcfg::cli {

// How texts are written. Ascii: bytes above 127 as \u00XX. Latin1: bytes
// 0xA0 to 0xFF as they are (JSON in Latin-1). Utf8: bytes above 127 read as
// Windows-1252 and written as UTF-8. In every form the control characters,
// and the bytes 0x80-0x9F that the form does not write as characters, are
// \u escapes.
enum class JsonText { Ascii, Latin1, Utf8 };

// `text` as a quoted JSON string.
std::string JsonString(std::string_view text, JsonText form = JsonText::Ascii);

// One object of the model (an actuator, a color, a line...) as `dump --json`
// writes it, indented JSON text followed by a line end. Objects and lists of
// objects take one line per member or item; lists of numbers stay on one
// line.
void WriteJson(std::ostream& out, ObjectRef object, JsonText form = JsonText::Ascii);

// What `dump --json` prints of one loaded file: an object of "file",
// "result" ("code" and "text"), then the members of the model (ModelView.h).
void WriteLoadedFileJson(std::ostream& out, const std::string& path, int code,
                         const Configuration& config, JsonText form = JsonText::Ascii);

}  // namespace knitcfg::cli
