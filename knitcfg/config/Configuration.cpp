#include "knitcfg/config/Configuration.h"

#include <cstring>
#include <new>
#include <unordered_set>

#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/FirstCode.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/profile/detail/FileCache.h"

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
        lastError_ =
            std::string("loading ") + path + ": " + (why.empty() ? "the file is empty" : why);
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
    detail::FirstCode result;
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
    detail::FirstCode result;
    if (saveMode_ == SaveMode::Preserve) {
        // Within SaveCFG's batch: the temporary file starts as the bound file.
        const bool started = detail::StartBatchFrom(file, std::move(seed_));
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
