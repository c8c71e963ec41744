#include "knitcfg/config/HeaderPrg.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "knitcfg/common/NumberScan.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/FirstCode.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(HeaderPrg, ModelObject)

namespace {

constexpr const char* kSection = "Header";
// Read as the default of every text: a key holding exactly this counts as
// missing, as it always has for the programs that share these files.
constexpr const char* kNotFound = "<NOT FOUND>";
constexpr unsigned kBufferSize = 8192;

using detail::LenientInt;
using detail::ScanDecimal;

}  // namespace

HeaderPrg::HeaderPrg() {
    Reset();
}
HeaderPrg::HeaderPrg(const HeaderPrg& other) = default;
HeaderPrg& HeaderPrg::operator=(const HeaderPrg& other) = default;
HeaderPrg::~HeaderPrg() = default;

void HeaderPrg::Reset() {
    MachineType.clear();
    VersionMajor = 0;
    VersionMinor = 0;
    Description.clear();
    NumberOfLines = -1;
    StartBlock = -1;
    LastDevelop.clear();
    LastDevelopFirst = -1;
    LastDevelopSecond = -1;
}

RETERROR HeaderPrg::Load(const char* path) {
    detail::FirstCode result;
    std::vector<char> buffer(kBufferSize);
    auto read = [&](const char* key, std::string* value) {
        profile::GetString(kSection, key, kNotFound, buffer.data(), kBufferSize, path);
        if (std::strcmp(buffer.data(), kNotFound) == 0) {
            return false;
        }
        value->assign(buffer.data());
        return true;
    };

    // Only whether the section lists any key matters here.
    result.Check(profile::GetString(kSection, nullptr, "", buffer.data(), kBufferSize, path) != 0,
                 RE_NO_HEADER);

    std::string value;
    if (read("MachineType", &value)) {
        MachineType = value;
    } else {
        result.Note(RE_NO_MACHINE_TYPE);
    }

    // "%d.%d" read straight into the fields: a major number without a valid
    // minor one is kept, and the minor version stays as it was.
    bool versionRead = false;
    if (read("Version", &value)) {
        int number = 0;
        const std::size_t end = ScanDecimal(value, &number);
        if (end != 0) {
            VersionMajor = number;
            if (end < value.size() && value[end] == '.' &&
                ScanDecimal(std::string_view(value).substr(end + 1), &number) != 0) {
                VersionMinor = number;
                versionRead = true;
            }
        }
    }
    result.Check(versionRead, RE_BAD_VERSION);

    if (read("Description", &value)) {
        Description = UnescapeNewLines(value.c_str());
    } else {
        result.Note(RE_NO_DESCRIPTION);
    }

    // Both are 16-bit fields: a bigger number keeps its low 16 bits, and it is
    // those that are checked.
    NumberOfLines = static_cast<short>(profile::GetInt(kSection, "NumberOfLines", -1, path));
    result.Check(NumberOfLines > 0, RE_BAD_NUMBER_OF_LINES);
    StartBlock = static_cast<short>(profile::GetInt(kSection, "StartBlock", -1, path));
    result.Check(StartBlock >= 0, RE_BAD_START_BLOCK);

    if (read("LastDevelop", &value)) {
        // "name,first,second". Without a comma there is no name and the rest
        // is the whole text; a rest without a comma gives its first number
        // from nothing (0) and its second from the whole rest.
        const std::string_view text(value);
        const std::size_t comma = text.find(',');
        std::string_view name = comma == std::string_view::npos ? "" : text.substr(0, comma);
        // The drive is dropped: the design is looked for on whatever drive
        // the machine's folder is.
        const std::size_t drive = name.find(":\\");
        if (drive != std::string_view::npos) {
            name.remove_prefix(drive + 1);
        }
        LastDevelop.assign(name);
        const std::string_view rest =
            comma == std::string_view::npos ? text : text.substr(comma + 1);
        const std::size_t second = rest.find(',');
        if (second == std::string_view::npos) {
            LastDevelopFirst = 0;
            LastDevelopSecond = LenientInt(rest);
        } else {
            LastDevelopFirst = LenientInt(rest.substr(0, second));
            LastDevelopSecond = LenientInt(rest.substr(second + 1));
        }
    } else {
        LastDevelop.clear();
        LastDevelopFirst = 0;
        LastDevelopSecond = 0;
    }

    // Escaped on save but deliberately not unescaped here: other programs read
    // these two keys verbatim.
    SourceCfg = read("SourceCfg", &value) ? value : std::string();
    SourceSdi = read("SourceSdi", &value) ? value : std::string();

    return result.Get();
}

RETERROR HeaderPrg::Save(const char* path) const {
    detail::FirstCode result;
    auto write = [&](const char* key, const std::string& value, RETERROR code) {
        result.Check(profile::WriteString(kSection, key, value.c_str(), path), code);
    };
    // An empty text removes its key; whether there was one to remove does
    // not matter.
    auto writeOrRemove = [&](const char* key, bool empty, const std::string& value, RETERROR code) {
        if (empty) {
            static_cast<void>(profile::WriteString(kSection, key, nullptr, path));
        } else {
            write(key, value, code);
        }
    };

    write("MachineType", MachineType, RE_WRITE_MACHINE_TYPE);
    write("Version", std::to_string(VersionMajor) + "." + std::to_string(VersionMinor),
          RE_WRITE_VERSION);
    write("Description", EscapeNewLines(Description.c_str()), RE_WRITE_DESCRIPTION);
    write("NumberOfLines", std::to_string(NumberOfLines), RE_WRITE_NUMBER_OF_LINES);
    write("StartBlock", std::to_string(StartBlock), RE_WRITE_START_BLOCK);
    writeOrRemove("LastDevelop", LastDevelop.empty(),
                  LastDevelop + "," + std::to_string(LastDevelopFirst) + "," +
                      std::to_string(LastDevelopSecond),
                  RE_WRITE_LAST_DEVELOP);
    writeOrRemove("SourceCfg", SourceCfg.empty(), EscapeNewLines(SourceCfg.c_str()),
                  RE_WRITE_SOURCE_CFG);
    writeOrRemove("SourceSdi", SourceSdi.empty(), EscapeNewLines(SourceSdi.c_str()),
                  RE_WRITE_SOURCE_SDI);
    return result.Get();
}

}  // namespace knitcfg
