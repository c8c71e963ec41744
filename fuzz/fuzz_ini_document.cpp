// Arbitrary bytes as a profile file: the model must keep every byte, and
// edits driven by the same bytes must keep the file readable and consistent.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "knitcfg/profile/detail/IniDocument.h"

using knitcfg::detail::IniDocument;

namespace {

using knitcfg::fuzz::Check;

// A name without the bytes that the profile layer refuses in names.
std::string Name(std::string_view raw) {
    std::string out;
    for (const char c : raw.substr(0, 12)) {
        if (c != '\r' && c != '\n' && c != '=' && c != ']' && c != '\0' && c != ';' && c != '[' &&
            c != ' ' && c != '\t' && c != '\v') {
            out += c;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc;
    doc.Parse(bytes);
    Check(doc.Serialize() == bytes);

    // Edits named by the input itself; after each, a fresh parse of the
    // written text must read the same as the edited model.
    std::string_view rest(bytes);
    for (int step = 0; step < 8 && rest.size() >= 3; ++step) {
        const unsigned op = static_cast<unsigned char>(rest[0]) % 4;
        const std::string section = Name(rest.substr(1, 1 + rest[1] % 5));
        const std::string key = Name(rest.substr(2, 1 + rest[2] % 5));
        rest.remove_prefix(3);
        switch (op) {
            case 0: doc.SetValue(section, key, "v" + std::to_string(step)); break;
            case 1: doc.DeleteKey(section, key); break;
            case 2: doc.DeleteSection(section); break;
            default: {
                const std::string line = key + "=" + std::to_string(step);
                doc.ReplaceSection(section, {line});
                break;
            }
        }
        const std::string written = doc.Serialize();
        IniDocument again;
        again.Parse(written);
        Check(again.Serialize() == written);
        const IniDocument::Section* a = doc.FindSection(section);
        const IniDocument::Section* b = again.FindSection(section);
        Check((a == nullptr) == (b == nullptr));
        if (a != nullptr) {
            const IniDocument::Line* la = doc.FindEntry(*a, key);
            const IniDocument::Line* lb = again.FindEntry(*b, key);
            Check((la == nullptr) == (lb == nullptr));
            if (la != nullptr) {
                Check(doc.Value(*la) == again.Value(*lb));
            }
        }
    }
    return 0;
}
