#include "knitcfg/config/Configuration.h"

#include <cstring>
#include <new>
#include <unordered_set>

#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/common/Platform.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/config/FirstCode.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/profile/SectionEntries.h"
#include "knitcfg/program/ActuatorList.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(Configuration, ModelObject)

namespace {

// The temporary file of every save: the platform names it from this prefix
// and number, so it is the same file on every save ("Voz16.tmp").
constexpr const char* kTempPrefix = "Vozad";
constexpr unsigned kTempNumber = 22;

std::string TextOrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

Configuration::Configuration() {
    header_.StartBlock = 0;
}

Configuration::Configuration(const char* machineType, int versionMajor, int versionMinor,
                             int processingRows)
    : Configuration() {
    header_.MachineType = TextOrEmpty(machineType);
    header_.VersionMajor = versionMajor;
    header_.VersionMinor = versionMinor;
    header_.NumberOfLines = static_cast<short>(processingRows);
}

Configuration::Configuration(const Configuration& other)
    : ModelObject(other),
      header_(other.header_),
      protection_(other.protection_),
      loaded_(other.loaded_),
      modified_(other.modified_),
      pathName_(other.pathName_) {
    // Planes, each through its own copy constructor, in list order.
    planes_.reserve(other.planes_.size());
    for (const std::unique_ptr<PlanePrg>& plane : other.planes_) {
        planes_.push_back(std::make_unique<PlanePrg>(*plane));
    }
    // Lines and colors, each through its own copy constructor, in list order.
    lines_.reserve(other.lines_.size());
    for (const std::unique_ptr<LinePrg>& line : other.lines_) {
        lines_.push_back(std::make_unique<LinePrg>(*line));
    }
    colors_.reserve(other.colors_.size());
    for (const std::unique_ptr<ColorPrg>& color : other.colors_) {
        colors_.push_back(std::make_unique<ColorPrg>(*color));
    }
    // Design tables.
    designs_.reserve(other.designs_.size());
    for (const auto& design : other.designs_) {
        designs_.push_back(std::make_unique<CGenDis>(*design));
    }
    shaved_.reserve(other.shaved_.size());
    for (const auto& entry : other.shaved_) {
        shaved_.push_back(std::make_unique<CShavedDis>(*entry));
    }
}

Configuration::~Configuration() {
    ReleaseCFG();
}

void Configuration::ReleaseCFG() {
    // Planes.
    planes_.clear();
    // Lines, then colors.
    lines_.clear();
    colors_.clear();
    // Design tables.
    designs_.clear();
    shaved_.clear();

    header_.Reset();
    protection_.Set(0);
    pathName_.clear();
}

RETERROR Configuration::LoadCFG(const char* path) {
    lastError_.clear();
    if (path == nullptr) {
        lastError_ = "loading: no file name";
        return RE_FILE_UNREADABLE;
    }
    platform::FileInfo info;
    std::string why;
    // One open answers it all: the file exists, is a regular file, can be
    // read, and is not empty. It never waits on a pipe.
    if (!platform::StatForReading(path, &info, &why) || info.size == 0) {
        lastError_ = std::string("loading ") + path + ": " + (why.empty() ? "the file is empty" : why);
        return RE_FILE_UNREADABLE;
    }
    pathName_ = path;
    RETERROR result;
    {
        // Every loader reads the file through one batch: it is checked and
        // parsed once, however many sections and keys are read.
        profile::Batch batch(pathName_.c_str());
        result = LoadSections(pathName_.c_str());
    }
    // The stamp is the one taken before reading: a change made while the
    // file was being loaded then shows as a modification, never the reverse.
    loaded_ = FileStamp{info.mtimeNs, info.size, info.device, info.inode};
    return result;
}

RETERROR Configuration::LoadSections(const char* file) {
    FirstCode result;
    result.Note(protection_.Load(file));
    result.Note(header_.Load(file));
    result.Note(LoadColors());
    // The planes load before the lines: lines are given their number.
    result.Note(LoadPlanes());
    result.Note(LoadLines());
    // Design tables: generated designs, then shaved designs, last.
    result.Note(LoadGenDis());
    result.Note(LoadShavedDis());
    return result.Get();
}

RETERROR Configuration::SaveCFG(const char* path) {
    return SaveCFG(path, SaveMode::Rewrite);
}

RETERROR Configuration::SaveCFG(const char* path, SaveMode mode) {
    lastError_.clear();
    if (path == nullptr || *path == '\0') {
        lastError_ = "saving: no file name";
        return RE_FILE_REPLACE;
    }
    const std::string target = path;
    std::string why;
    // Bound back to the target whatever follows: left on the temporary file,
    // the document would be saved "in place" there next time and never reach
    // its file again.
    auto fail = [&](const std::string& reason) {
        pathName_ = target;
        lastError_ = "saving " + target + ": " + reason;
        return RE_FILE_REPLACE;
    };
    // The temporary file has a fixed name, so it lives in a folder of the
    // user's own: in a shared folder another user could own the name first
    // or plant a link there.
    std::string folder;
    if (!platform::PrivateTempDirectory(&folder, &why)) {
        return fail(why);
    }
    const std::string temp = platform::TempFileName(folder, kTempPrefix, kTempNumber);

    // Every save of this user shares the one temporary file: without the
    // lock, two savers would write into, copy and delete each other's file.
    platform::FileLock lock;
    if (!lock.Lock(temp + ".lock", &why)) {
        return fail("locking " + temp + ".lock: " + why);
    }
    // Start from nothing, so that a file left by a failed save adds nothing to
    // this one.
    platform::RemoveFile(temp);
    // A preserving save starts from the bound file's bytes instead.
    if (!StartTemporaryFile(mode, temp, &why)) {
        return fail(why);
    }

    pathName_ = temp;
    RETERROR result;
    bool written;
    {
        // One batch: the temporary file is written once, however many keys.
        profile::Batch batch(pathName_.c_str());
        result = SaveSections(pathName_.c_str());
        written = batch.Commit(&why);
    }
    if (pathName_ == target) {
        // The target is the temporary file itself: written in place.
        return written ? result : fail(why);
    }
    pathName_ = target;
    // A temporary file that could not be written must not be copied: it
    // would replace the target with less than the document.
    if (!written) {
        return fail("writing the temporary file " + temp + ": " + why);
    }
    if (!platform::CopyFileOver(temp, target, &why)) {
        return fail(why);
    }
    if (!platform::RemoveFile(temp, &why)) {
        return fail("removing the temporary file " + temp + ": " + why);
    }
    return result;
}

std::string Configuration::GetLastErrorText() const {
    return lastError_;
}

bool Configuration::StartTemporaryFile(SaveMode mode, const std::string& temp, std::string* why) {
    saveMode_ = SaveMode::Rewrite;
    if (mode != SaveMode::Preserve || pathName_.empty() || pathName_ == temp) {
        return true;
    }
    // No file to start from: the save writes the document alone.
    platform::FileInfo info;
    if (!platform::Stat(pathName_, &info) || !info.exists) {
        return true;
    }
    // The file as it stands now, not as the last load saw it: what others
    // wrote into it since stays too. A file that is there but cannot be read
    // fails the save rather than lose what it holds. The bytes go into the
    // save's batch (SaveSections), not onto the disk: the temporary file is
    // then written and flushed once, as in the default save.
    platform::FileInfo read;
    if (platform::ReadWholeFile(pathName_, &seed_, &read, why) != platform::ReadStatus::kOk) {
        seed_.clear();
        *why = "reading " + pathName_ + " to keep what it holds: " + *why;
        return false;
    }
    saveMode_ = SaveMode::Preserve;
    return true;
}

RETERROR Configuration::SaveSections(const char* file) {
    FirstCode result;
    if (saveMode_ == SaveMode::Preserve) {
        // Within SaveCFG's batch: the temporary file starts as the bound file.
        const bool started = profile::StartBatchFrom(file, std::move(seed_));
        seed_.clear();
        if (!started) {
            saveMode_ = SaveMode::Rewrite;
            return RE_FILE_REPLACE;
        }
    }
    result.Note(protection_.Save(file));
    result.Note(header_.Save(file));
    result.Note(SaveColors());
    result.Note(SaveLines());
    result.Note(SavePlanes());
    // Design tables: generated designs, then shaved designs, last.
    result.Note(SaveGenDis());
    result.Note(SaveShavedDis());
    // The Save* steps called on their own write in place.
    saveMode_ = SaveMode::Rewrite;
    return result.Get();
}

// Colors and lines ----------------------------------------------------------

namespace {

// Calls `take` with each section name of `file` that begins with `prefix`
// (exact letter case), in file order. False when the file lists no section.
template <class Take>
bool ForEachSection(const char* file, const char* prefix, Take take) {
    std::vector<char> names(detail::kSectionListRoom);
    if (profile::GetSectionNames(names.data(), detail::kSectionListRoom, file) == 0) {
        return false;
    }
    const std::size_t prefixLength = std::strlen(prefix);
    for (const char* name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
        if (std::strncmp(name, prefix, prefixLength) == 0) {
            take(name);
        }
    }
    return true;
}

// Deletes every section of `file` whose name begins with `prefix`, that
// `owned` says is the document's and whose name no program of `list` writes
// (`nameOf` gives the section a program writes, "" for none). The names are
// those a load sees (the first 8192 characters of the listing), compared as
// the profile layer compares them; a name listed twice is deleted twice.
template <class Program, class NameOf, class Owned>
void RemoveSectionsNotWritten(const char* file, const char* prefix,
                              const std::vector<std::unique_ptr<Program>>& list, NameOf nameOf,
                              Owned owned) {
    std::unordered_set<std::string> written;
    written.reserve(list.size());
    for (const std::unique_ptr<Program>& program : list) {
        written.insert(FoldAsciiCase(nameOf(file, *program)));
    }
    std::vector<std::string> gone;
    ForEachSection(file, prefix, [&](const char* name) {
        if (written.count(FoldAsciiCase(name)) == 0 && owned(name, file)) {
            gone.emplace_back(name);
        }
    });
    for (const std::string& name : gone) {
        static_cast<void>(profile::WriteString(name.c_str(), nullptr, nullptr, file));
    }
}

// Saves every program of `list` into `file` with `save`, each whatever the
// earlier ones returned, in one batch; the first non-zero code wins.
template <class Program, class Save>
RETERROR SaveEach(const std::vector<std::unique_ptr<Program>>& list, const char* file, Save save) {
    FirstCode result;
    profile::Batch batch(file);
    for (const std::unique_ptr<Program>& program : list) {
        result.Note(save(*program, file));
    }
    // Alone, the batch writes the file here; inside SaveCFG, SaveCFG does.
    result.Check(batch.Commit(), RE_WRITE_SECTION);
    return result.Get();
}

}  // namespace

RETERROR Configuration::LoadColors() {
    // A batch of its own, so that a call outside LoadCFG also reads the file
    // once; inside LoadCFG it joins that batch.
    profile::Batch batch(pathName_.c_str());
    const bool listed = ForEachSection(pathName_.c_str(), "Color_", [this](const char* name) {
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
        RemoveSectionsNotWritten(
            pathName_.c_str(), "Color_", colors_,
            [](const char*, const ColorPrg& color) { return NumberedName("Color_", color.ID); },
            [](const char*, const char*) { return true; });
    }
    return SaveEach(colors_, pathName_.c_str(), [mode](ColorPrg& color, const char* file) {
        return color.SaveColor(file, mode);
    });
}

RETERROR Configuration::LoadLines() {
    // The number of planes loaded, handed to each line (which does not use it).
    const short planes = GetPlanesCount();
    profile::Batch batch(pathName_.c_str());
    const bool listed = ForEachSection(pathName_.c_str(), "Line_", [&](const char* name) {
        // The line files itself into the list it is given. Given a list of
        // its own, its check that it is not filed already costs nothing
        // (against the document's list it would walk every line loaded so
        // far); it then goes to the end of the document's list, where it
        // would have filed itself.
        std::vector<std::unique_ptr<LinePrg>> filed;
        auto line = std::make_unique<LinePrg>();
        line.release()->LoadSection(name, pathName_.c_str(), planes, &filed);
        for (std::unique_ptr<LinePrg>& each : filed) {
            lines_.push_back(std::move(each));
        }
    });
    return listed ? RE_SUCCESS : RE_NO_SECTIONS;
}

RETERROR Configuration::SaveLines() {
    const SaveMode mode = saveMode_;
    profile::Batch batch(pathName_.c_str());
    if (mode == SaveMode::Preserve) {
        // A line section is the document's when the document writes a section
        // of its name, or when a load would make of it a line that a save
        // writes (plane 1 or below, or no number, which means plane 1): the
        // section of such a line that is no longer held goes. A line of a
        // higher plane is never written, so its section stays.
        RemoveSectionsNotWritten(
            pathName_.c_str(), "Line_", lines_,
            [](const char*, const LinePrg& line) {
                return line.Plane > 1 ? std::string() : NumberedName("Line_", line.ID);
            },
            [](const char* name, const char* file) {
                if (entry::Low16(profile::GetInt(name, "ID", -1, file)) < 0) {
                    return true;
                }
                return entry::Low16(profile::GetInt(name, "Plane", -1, file)) <= 1;
            });
    }
    return SaveEach(lines_, pathName_.c_str(), [mode](const LinePrg& line, const char* file) {
        return line.SaveLine(file, mode);
    });
}

RETERROR Configuration::CreateLine(int index, int plane) {
    // Unsigned arithmetic: any two ints give a number, kept as 16 bits.
    const auto number = static_cast<std::int32_t>(static_cast<std::uint32_t>(index) +
                                                  (static_cast<std::uint32_t>(plane) - 1u) * 10u);
    try {
        auto line = std::make_unique<LinePrg>();
        line->Plane = entry::Low16(plane);
        line->ID = entry::Low16(number);
        auto at = lines_.begin();
        while (at != lines_.end() && !((*at)->Plane == line->Plane && (*at)->ID > line->ID)) {
            ++at;
        }
        lines_.insert(at, std::move(line));
    } catch (const std::bad_alloc&) {
        return RE_NO_SECTIONS;
    }
    return RE_SUCCESS;
}

const std::vector<std::unique_ptr<LinePrg>>& Configuration::Lines() const {
    return lines_;
}

const std::vector<std::unique_ptr<ColorPrg>>& Configuration::Colors() const {
    return colors_;
}

void Configuration::SetPathName(const char* path) {
    pathName_ = TextOrEmpty(path);
}

std::string Configuration::GetPathName() const {
    return pathName_;
}

void Configuration::SetModifiedFlag(int flag) {
    modified_ = flag;
}

int Configuration::GetModifiedFlag() const {
    return modified_;
}

int Configuration::IsModified() const {
    if (pathName_.empty()) {
        return 1;
    }
    platform::FileInfo info;
    if (!platform::StatForReading(pathName_, &info)) {
        return 1;
    }
    return loaded_ == FileStamp{info.mtimeNs, info.size, info.device, info.inode} ? 0 : 1;
}

HeaderPrg& Configuration::GetHeader() {
    return header_;
}
const HeaderPrg& Configuration::GetHeader() const {
    return header_;
}
Protection& Configuration::GetProtection() {
    return protection_;
}
const Protection& Configuration::GetProtection() const {
    return protection_;
}

std::string Configuration::HeaderGetMachineType() const {
    return header_.MachineType;
}

std::string Configuration::HeaderGetDescription() const {
    return header_.Description;
}

void Configuration::HeaderSetDescription(const char* description) {
    header_.Description = TextOrEmpty(description);
}

void Configuration::HeaderGetVersion(int* major, int* minor) const {
    if (major != nullptr) {
        *major = header_.VersionMajor;
    }
    if (minor != nullptr) {
        *minor = header_.VersionMinor;
    }
}

short Configuration::HeaderGetProcessingRows() const {
    return header_.NumberOfLines;
}

void Configuration::HeaderSetProcessingRows(int rows) {
    header_.NumberOfLines = static_cast<short>(rows);
}

short Configuration::HeaderGetStartBlockIndex() const {
    return header_.StartBlock;
}

void Configuration::HeaderSetStartBlockIndex(int block) {
    header_.StartBlock = static_cast<short>(block);
}

std::string Configuration::HeaderGetLastDevelop() const {
    return header_.LastDevelop;
}

void Configuration::HeaderSetLastDevelop(const char* name, int first, int second) {
    header_.LastDevelop = TextOrEmpty(name);
    header_.LastDevelopFirst = first;
    header_.LastDevelopSecond = second;
}

void Configuration::HeaderSetSourceCfg(const char* name) {
    header_.SourceCfg = TextOrEmpty(name);
}

void Configuration::HeaderSetSourceSdi(const char* name) {
    header_.SourceSdi = TextOrEmpty(name);
}

}  // namespace knitcfg
