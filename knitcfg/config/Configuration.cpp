#include "knitcfg/config/Configuration.h"

#include "knitcfg/common/Platform.h"
#include "knitcfg/config/FirstCode.h"
#include "knitcfg/profile/Profile.h"

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
    // Design tables.
    designs_.clear();
    shaved_.clear();

    header_.Reset();
    protection_.Set(0);
    pathName_.clear();
}

RETERROR Configuration::LoadCFG(const char* path) {
    if (path == nullptr) {
        return RE_FILE_UNREADABLE;
    }
    platform::FileInfo info;
    // One open answers it all: the file exists, is a regular file, can be
    // read, and is not empty.
    if (!platform::StatForReading(path, &info) || info.size == 0) {
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
    // Design tables: generated designs, then shaved designs, last.
    result.Note(LoadGenDis());
    result.Note(LoadShavedDis());
    return result.Get();
}

RETERROR Configuration::SaveCFG(const char* path) {
    if (path == nullptr || *path == '\0') {
        return RE_FILE_REPLACE;
    }
    const std::string target = path;
    const std::string temp =
        platform::TempFileName(platform::TempDirectory(), kTempPrefix, kTempNumber);

    // Every save shares the one temporary file: without the lock, two savers
    // would write into, copy and delete each other's file.
    platform::FileLock lock;
    if (!lock.Lock(temp + ".lock")) {
        pathName_ = target;
        return RE_FILE_REPLACE;
    }
    // Start from nothing, so that a file left by a failed save adds nothing to
    // this one. Removing (rather than truncating) also drops a link planted
    // under the temporary name, instead of writing through it.
    platform::RemoveFile(temp);

    pathName_ = temp;
    RETERROR result;
    bool written;
    {
        // One batch: the temporary file is written once, however many keys.
        profile::Batch batch(pathName_.c_str());
        result = SaveSections(pathName_.c_str());
        written = batch.Commit();
    }
    if (pathName_ == target) {
        // The target is the temporary file itself: written in place.
        return written ? result : RE_FILE_REPLACE;
    }
    // Bound back to the target whatever follows: left on the temporary file,
    // the document would be saved "in place" there next time and never reach
    // its file again.
    pathName_ = target;
    // A temporary file that could not be written must not be copied: it
    // would replace the target with less than the document.
    if (!written || !platform::CopyFileOver(temp, target)) {
        return RE_FILE_REPLACE;
    }
    if (!platform::RemoveFile(temp)) {
        return RE_FILE_REPLACE;
    }
    return result;
}

RETERROR Configuration::SaveSections(const char* file) const {
    FirstCode result;
    result.Note(protection_.Save(file));
    result.Note(header_.Save(file));
    // Design tables: generated designs, then shaved designs, last.
    result.Note(SaveGenDis());
    result.Note(SaveShavedDis());
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
