#pragma once

#include <string>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"

namespace knitcfg {

// The "Header" section of a configuration file. A plain class: callers read
// and write the fields directly. Texts hold line breaks as CR LF in memory
// and as backslash + 'n' in the file.
class KNITCFG_API HeaderPrg : public ModelObject {
    KNITCFG_DECLARE_CLASS(HeaderPrg)

public:
    // Empty texts, then Reset: no number of lines or start block (-1), no
    // last developed design.
    HeaderPrg();
    HeaderPrg(const HeaderPrg& other);
    HeaderPrg& operator=(const HeaderPrg& other);
    ~HeaderPrg() override;

    // Machine type, version 0.0, description, number of lines -1, start
    // block -1, last-develop name "" and its integers -1. The two source names
    // are left as they are.
    void Reset();

    // Reads the "Header" section of the file at `path`. Every key is read
    // whatever happened before; the result is the first problem found:
    //   RE_NO_HEADER (3)            the section is missing or has no keys;
    //   RE_NO_MACHINE_TYPE (4)      "MachineType" missing (field unchanged);
    //   RE_BAD_VERSION (5)          "Version" missing (fields unchanged) or not
    //                               "<int>.<int>" (a leading number is kept);
    //   RE_NO_DESCRIPTION (6)       "Description" missing (field unchanged);
    //   RE_BAD_NUMBER_OF_LINES (8)  "NumberOfLines" missing (-1) or, as 16 bits,
    //                               not positive;
    //   RE_BAD_START_BLOCK (9)      "StartBlock" missing (-1) or negative.
    // "LastDevelop" is "name,first,second": a drive ("X:") before the first
    // backslash of the name is dropped; missing, it gives "" and 0, 0.
    // "SourceCfg" and "SourceSdi" are taken verbatim, "" when missing.
    // A value longer than 8191 characters is cut there.
    RETERROR Load(const char* path);

    // Writes the "Header" section of the file at `path`, key by key in the
    // order of the fields, creating file and section as needed; an empty
    // last-develop name or source name removes its key instead. Every write
    // is attempted; the result is the code of the first refused one:
    // RE_WRITE_MACHINE_TYPE (52), RE_WRITE_VERSION (53),
    // RE_WRITE_DESCRIPTION (40), RE_WRITE_NUMBER_OF_LINES (54),
    // RE_WRITE_START_BLOCK (55), RE_WRITE_LAST_DEVELOP (56),
    // RE_WRITE_SOURCE_CFG (60), RE_WRITE_SOURCE_SDI (61). A text that still
    // holds a line break once CR LF pairs are escaped is refused.
    RETERROR Save(const char* path) const;

    std::string MachineType;
    int VersionMajor = 0;
    int VersionMinor = 0;
    std::string Description;  // may hold CR LF line breaks
    short NumberOfLines = -1;
    short StartBlock = -1;
    std::string LastDevelop;  // the last developed design's name
    int LastDevelopFirst = -1;
    int LastDevelopSecond = -1;
    // The two source names are escaped on save but read back verbatim: a line
    // break in them comes back as backslash + 'n'.
    std::string SourceCfg;
    std::string SourceSdi;
};

}  // namespace knitcfg
