#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/SaveMode.h"
#include "knitcfg/config/HeaderPrg.h"
#include "knitcfg/config/Protection.h"
#include "knitcfg/designs/CGenDis.h"
#include "knitcfg/designs/CShavedDis.h"
#include "knitcfg/program/ColorPrg.h"
#include "knitcfg/program/LinePrg.h"
#include "knitcfg/program/PlanePrg.h"

namespace knitcfg {

// One configuration file held in memory: the document owns the whole model
// (header, protection, planes, lines, colors, designs), binds it to a file
// path, loads the file, writes it back, and tells whether the file changed
// on disk since it was loaded. Used from one thread at a time. Objects handed
// out stay owned by the document until ReleaseCFG, the destructor or the edit
// that removes them. Details and corner cases: docs/document.md.
class KNITCFG_API Configuration : public ModelObject {
    KNITCFG_DECLARE_CLASS(Configuration)

public:
    // An empty document: start block 0, not protected, no path, flag 0.
    Configuration();
    // An empty document whose header holds `machineType` (null counts as
    // ""), the version and `processingRows` (its low 16 bits). Reads no file.
    Configuration(const char* machineType, int versionMajor, int versionMinor, int processingRows);
    // A deep copy, path, modified flag and last load's file stamp included.
    Configuration(const Configuration& other);
    Configuration& operator=(const Configuration&) = delete;
    ~Configuration() override;

    // Empties every list, resets the header and protection, drops the path.
    // The modified flag and the last load's file stamp stay.
    void ReleaseCFG();

    // Binds the document to `path` and loads every section into it, without
    // emptying it first. RE_FILE_UNREADABLE (62), changing nothing, when the
    // file is missing, no regular file, unreadable or empty. Otherwise every
    // step runs and the first non-zero code is returned (RE_NO_PROTECTION, 2,
    // for a file without sections); what could be read is kept.
    RETERROR LoadCFG(const char* path);

    // Writes the document through the user's temporary file and copies it
    // over `path`: the target holds the old or the new content, never a mix.
    // Returns the first non-zero code of the section writers, or
    // RE_FILE_REPLACE (63) when the temporary folder, file, lock, copy or
    // removal fails (the target then stays as it was). Binds the document to
    // `path` whatever the outcome; a null or empty `path` gives 63 and
    // changes nothing. The last load's file stamp is not updated.
    RETERROR SaveCFG(const char* path);
    // SaveCFG with `mode`. Preserve starts from the bytes of the bound file
    // and keeps what the document does not own; 63, the target untouched,
    // when that file is there but cannot be read.
    RETERROR SaveCFG(const char* path, SaveMode mode);

    // Why the last LoadCFG or SaveCFG failed (operation, file, the system's
    // reason); "" after one that read or wrote its file.
    std::string GetLastErrorText() const;

    // The bound file; "" when none. Null counts as "".
    void SetPathName(const char* path);
    std::string GetPathName() const;

    // A flag kept for the caller; the library neither sets nor reads it.
    void SetModifiedFlag(int flag);
    int GetModifiedFlag() const;

    // 0 when the bound file still has the last-write time (full resolution),
    // size and identity the last load saw; 1 otherwise, and when there is no
    // path or the file cannot be opened.
    int IsModified() const;

    // The header and protection objects, owned by the document.
    HeaderPrg& GetHeader();
    const HeaderPrg& GetHeader() const;
    Protection& GetProtection();
    const Protection& GetProtection() const;

    // Header fields, in memory only. 16-bit fields keep the low 16 bits; a
    // null text counts as ""; HeaderGetVersion skips a null pointer.
    std::string HeaderGetMachineType() const;
    std::string HeaderGetDescription() const;
    void HeaderSetDescription(const char* description);
    void HeaderGetVersion(int* major, int* minor) const;
    short HeaderGetProcessingRows() const;
    void HeaderSetProcessingRows(int rows);
    short HeaderGetStartBlockIndex() const;
    void HeaderSetStartBlockIndex(int block);
    // The last developed design's name (without its two integers).
    std::string HeaderGetLastDevelop() const;
    void HeaderSetLastDevelop(const char* name, int first, int second);
    void HeaderSetSourceCfg(const char* name);
    void HeaderSetSourceSdi(const char* name);

    // --- The steps of load and save, one per family ------------------------
    // Each works on the file at the path name and can be called alone; a
    // load appends to its list without emptying it.

    // Appends a color per "Color_" section (exact case), in file order.
    // RE_NO_COLOR_SECTIONS (11) when the file lists no section, else 0.
    RETERROR LoadColors();
    // Writes every color's section; the first non-zero code, 38 when the
    // file could not be written, else 0.
    RETERROR SaveColors();
    // Appends a line per "Line_" section (exact case), in file order.
    // RE_NO_SECTIONS (18) when the file lists no section, else 0.
    RETERROR LoadLines();
    // Writes every line of plane 1 or below; codes as SaveColors.
    RETERROR SaveLines();
    // Inserts an empty line of `plane` numbered index + (plane - 1) * 10
    // within its plane's lines. 0, or RE_NO_SECTIONS (18), changing nothing,
    // when it could not be placed. Touches no count.
    RETERROR CreateLine(int index, int plane);
    // The lines and the colors, in list order.
    const std::vector<std::unique_ptr<LinePrg>>& Lines() const;
    const std::vector<std::unique_ptr<ColorPrg>>& Colors() const;

    // Appends the planes of "ColorPlanes" (with the header's counts) or,
    // when it lists no key, of the "Plane_" sections. Always 0.
    RETERROR LoadPlanes();
    // Writes every plane's entry into "ColorPlanes"; the first non-zero code
    // (RE_WRITE_PLANE, 42, also when the file could not be written), else 0.
    RETERROR SavePlanes();
    // Appends a plane with the header's counts (numbers as 16 bits, null
    // description as ""). 0, or RE_PLANE_NOT_ADDED (12), changing nothing.
    RETERROR CreatePlane(int number, const char* description, int priority);
    // The planes, in load and creation order.
    const std::vector<std::unique_ptr<PlanePrg>>& Planes() const;

    // --- Queries and edits -------------------------------------------------
    // Numbers compare as 16 bits; the first match in list order wins; null,
    // -32768 or -1 when nothing is found. Nothing here touches the file.

    // The number of planes, lines and colors.
    short GetPlanesCount() const;
    short GetLinesCount() const;
    short GetColorsCount() const;

    PlanePrg* GetPlane(short number);
    // Null for a negative `id`.
    ColorPrg* GetColor(short id);
    LinePrg* GetLine(short id, short plane);
    // Searches every color numbered `colorId`, in list order.
    Attuat* GetAttuat(short id, short colorId);
    // The first actuator `id` (its low 16 bits) of any line.
    Attuat* LinePrgGetAttuat(int id);

    // The state, Caduta and IdCaduta of actuator `id` of the first color
    // numbered `colorId`; -32768 when that color or actuator is missing, or
    // the kind has no state.
    short GetStatoAttuat(short id, short colorId) const;
    short GetCadutaAttuat(short id, short colorId) const;
    short GetIdCadutaAttuat(short id, short colorId) const;

    // The index-list queries append to `list` (never clearing it) and return
    // how many elements it holds afterwards, as 16 bits: a list of 32768
    // elements or more gives a negative count (65535 gives -1). They also
    // return -1 as soon as a color's or line's own query reports a failure
    // (returns 0), which the library's colors and lines never do. A null
    // `list` gives 0. -1 as plane, color or line means "any".
    //
    // The identifiers of the actuators of one kind, each appended once.
    short GetListColorDrum(IndexList* list, short plane, short colorId) const;
    short GetListColorFinger(IndexList* list, short plane, short colorId) const;
    short GetListColorSplitter(IndexList* list, short plane, short colorId) const;
    short GetListColorTriangle(IndexList* list, short plane, short colorId) const;
    short GetListColorStepMotor(IndexList* list, short plane, short colorId) const;
    short GetListColorStepMotorDis(IndexList* list, short plane, short colorId) const;
    short GetListColorSpeeder(IndexList* list, short plane, short colorId) const;
    short GetListLineDrum(IndexList* list, short plane, short lineId) const;
    short GetListLineFinger(IndexList* list, short plane, short lineId) const;
    short GetListLineSplitter(IndexList* list, short plane, short lineId) const;
    short GetListLineTriangle(IndexList* list, short plane, short lineId) const;
    short GetListLineStepMotor(IndexList* list, short plane, short lineId) const;
    short GetListLineStepMotorDis(IndexList* list, short plane, short lineId) const;
    short GetListLineSpeeder(IndexList* list, short plane, short lineId) const;
    // The numbers of the colors (lines) of `plane`, each appended once.
    short GetListColors(IndexList* list, short plane) const;
    short GetListLines(IndexList* list, short plane) const;
    // A line's number for each of its actuators whose Id is `id`.
    short GetListLineAttuat(IndexList* list, short id, short plane) const;

    // Appends an empty color, even of a number already held, and returns it;
    // null, changing nothing, for a negative `id`, a `plane` below 1 or no
    // memory.
    ColorPrg* AddColor(short id, short plane);
    // Destroys the first color numbered `id`: 1; 0 when there is none.
    int RemoveColor(short id);
    // Appends the next line of `plane` and raises its count (and the
    // header's, for plane 1): 1. 0 when the plane is below 1 or holds
    // `maxLines` lines, and when no plane has that number (the line stays).
    int AddLine(int maxLines, int plane);
    // Undoes AddLine: 1. 0, changing nothing, when the plane has no line or
    // none carries the expected number; 0 also when no plane has the number.
    int RemoveLastLine(int plane);
    // Replaces block `block` of plane `plane` by a new one at the end of its
    // blocks: 1; 0, changing nothing, when no plane has that number.
    int LoadBlock(int plane, int block, int parameter, IndexList values);

    // The ID of the first color whose Help (HelpAbstract) equals `text`
    // without regard to ASCII case; -1 when none or `text` is null.
    short GetColorForHelp(const char* text) const;
    short GetColorForHelpAbstract(const char* text) const;
    // A copy of the color's Help (HelpAbstract); "No Help Description" ("No
    // Help Abstract Description") when no color has that number.
    std::string GetColorHelp(short id) const;
    std::string GetColorHelpAbstrct(short id) const;
    // Sets the text (null counts as ""): 1; 0, changing nothing, when no
    // color has that number.
    int SetColorHelp(short id, const char* text);
    int SetColorHelpAbstrct(short id, const char* text);

    // --- Generated designs -------------------------------------------------

    // Appends the designs of "GeneratedDis" with their sections.
    // RE_NO_SECTIONS (18), changing nothing, when the file has no section.
    RETERROR LoadGenDis();
    // Replaces the file's table and design sections by the list's, in one
    // write; the first refused line's code, RE_WRITE_LAST_DEVELOP (56) when
    // the write fails (the file then stays as it was), else 0.
    RETERROR SaveGenDis() const;
    // The first design named `name` regardless of case; null when none.
    CGenDis* GeneratedDisSearch(const char* name);
    // Appends every design's name to `names` (not emptied; null is ignored).
    void GeneratedDisGet(StringArray* names) const;
    // Sets the numbers of the design found by GeneratedDisSearch, or appends
    // a new one named `name`; returns it. Null for a null `name`.
    CGenDis* GeneratedDisUpdate(const char* name, int first, int second);
    // Deletes every design.
    void GeneratedDisRemove();
    // Deletes the first design named exactly `name`: 1; 0 when none.
    int GeneratedDisDel(const char* name);
    // The designs, in load and creation order.
    const std::vector<std::unique_ptr<CGenDis>>& Designs() const;

    // --- Shaved designs ----------------------------------------------------
    // An entry is exchanged as one array: its three numbers, then its
    // elements.

    // Appends an entry per line of "ShavedDis". RE_NO_SECTIONS (18),
    // changing nothing, when the file has no section.
    RETERROR LoadShavedDis();
    // Writes every entry with a name and elements, in one write, without
    // clearing the section; the last entry's code, RE_WRITE_SHAVED (58) when
    // the write fails (the file then stays as it was), else 0.
    RETERROR SaveShavedDis() const;
    // Replaces `names` with every entry's name; their number, 0 for null.
    int ShavedDisGetList(StringArray* names) const;
    // Replaces `values` with the entry named `name` regardless of case; its
    // size, or 0 (and `values` empty) when none or `values` is null.
    int ShavedDisGet(const char* name, UIntArray* values) const;
    // Sets the entry ShavedDisGet finds, or appends one, from `values` (not
    // changed; null counts as empty). A null `name` does nothing.
    void ShavedDisSet(const char* name, UIntArray* values);
    // Deletes the first entry whose name contains `name`: 1; 0 when none.
    int ShavedDisDel(const char* name);
    // Deletes every entry.
    void ShavedDisRemove();
    // The entries, in load and creation order.
    const std::vector<std::unique_ptr<CShavedDis>>& ShavedDesigns() const;

    // --- Machine paths and descriptions ------------------------------------

    // Takes the machine type of `machineFile` and moves the document's paths
    // (last develop, source configuration, designs, patterns) from the folder
    // of `oldPath` to that of `newPath`, in lower case. Memory only; 1.
    int ChangePathNameMachine(const char* machineFile, const char* oldPath, const char* newPath);
    // This document's description when bound to a path, otherwise the one of
    // `file` (line breaks as CR LF); "" when it cannot be read.
    std::string ReadDescrFromFile(const char* file) const;

private:
    // What a load saw of the file on disk.
    struct FileStamp {
        std::int64_t lastWriteNs = 0;  // full resolution; 0 before any load
        std::uint64_t size = 0;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        bool operator==(const FileStamp& other) const {
            return lastWriteNs == other.lastWriteNs && size == other.size &&
                   device == other.device && inode == other.inode;
        }
    };

    // Run the section loaders / writers on `file`, each whatever the earlier
    // ones returned, in the fixed order of the file format; return the first
    // non-zero code.
    RETERROR LoadSections(const char* file);
    RETERROR SaveSections(const char* file);

    // Before a save's sections are written to `temp` (the bound file's path
    // name still in place): with Preserve and a bound file that exists,
    // reads it into seed_ and sets saveMode_ to Preserve; otherwise sets
    // Rewrite. False when the file is there but could not be read.
    bool StartTemporaryFile(SaveMode mode, const std::string& temp, std::string* why);

    HeaderPrg header_;
    Protection protection_;

    // Planes, in load and creation order.
    std::vector<std::unique_ptr<PlanePrg>> planes_;

    // Lines and colors, in file order, then in order of creation.
    std::vector<std::unique_ptr<LinePrg>> lines_;
    std::vector<std::unique_ptr<ColorPrg>> colors_;

    // Design tables.
    std::vector<std::unique_ptr<CGenDis>> designs_;
    std::vector<std::unique_ptr<CShavedDis>> shaved_;
    FileStamp loaded_;
    // How the save under way treats what the file holds; Rewrite outside a
    // SaveCFG (the Save* steps called alone write in place).
    SaveMode saveMode_ = SaveMode::Rewrite;
    // The bound file's bytes, from StartTemporaryFile to SaveSections.
    std::string seed_;
    int modified_ = 0;
    std::string pathName_;
    std::string lastError_;  // see GetLastErrorText
};

}  // namespace knitcfg
