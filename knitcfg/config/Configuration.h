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

// One configuration file held in memory: the document owns the whole model,
// binds it to a file path, loads the file section by section, writes it
// back, and tells whether the file on disk changed since it was loaded.
//
// A Configuration is used from one thread at a time. Saves go through one
// temporary file of a fixed name ("Voz16.tmp") in a folder of the user's
// own under the temporary folder ("knitcfg-<user id>", made for the user
// alone): saves of any documents of one user, in this process or others,
// take turns on it through an advisory lock held for the whole save (on
// "Voz16.tmp.lock" beside it, which stays there); saves of different users
// never meet.
class KNITCFG_API Configuration : public ModelObject {
    KNITCFG_DECLARE_CLASS(Configuration)

public:
    // An empty document: the header as HeaderPrg makes it but with start
    // block 0, not protected, no path, never loaded, modified flag 0.
    Configuration();

    // An empty document whose header holds `machineType` (null counts as
    // ""), the version and `processingRows` lines (its low 16 bits). Reads no
    // file.
    Configuration(const char* machineType, int versionMajor, int versionMinor, int processingRows);

    // A deep copy: header, protection, path name and what the last load saw
    // of the file. The modified flag is copied too: a copy of a document with
    // unsaved edits holds those edits, and must not look as if it had none.
    Configuration(const Configuration& other);
    Configuration& operator=(const Configuration&) = delete;

    // Releases the document (ReleaseCFG).
    ~Configuration() override;

    // Empties the document: header Reset (start block -1), protection 0, no
    // path. What the last load saw of the file and the modified flag stay.
    void ReleaseCFG();

    // Binds the document to `path` and loads the file into it, without
    // emptying it first (the header and flag are overwritten). Returns
    // RE_FILE_UNREADABLE (62), changing nothing, when the file is missing, is
    // no regular file, cannot be read or is empty. Otherwise every section
    // loader runs whatever the earlier ones returned, and the result is the
    // first non-zero code: RE_NO_PROTECTION (2) for a file without any
    // section. A load that reports a code keeps all it could read.
    RETERROR LoadCFG(const char* path);

    // Writes the document into a fresh temporary file, copies that over
    // `path` (the target holds the old or the new content, never a mix), and
    // deletes the temporary file. The result is the first non-zero code of
    // the section writers, or RE_FILE_REPLACE (63) when the user's temporary
    // folder is missing or not safe to use (GetLastErrorText says why), the
    // temporary file could not be written or locked, the copy failed (the target is left as
    // it was, the temporary file in place) or the temporary file could not be
    // deleted. Whatever the outcome, the document is bound to `path`
    // afterwards, so that a retry goes to the target and not to the shared
    // temporary file. A null or empty `path` returns 63 and changes nothing.
    // What the last load saw of the file is not updated: IsModified reports 1
    // after a save until the next load.
    RETERROR SaveCFG(const char* path);

    // SaveCFG(path) with `mode`: Rewrite is SaveCFG(path). Preserve starts the
    // temporary file from the bytes of the file at the path name as it stands
    // at the save (where there is none, it is Rewrite); what the document
    // owns is then written and what it no longer holds removed, the rest stays
    // byte for byte (what is owned: README, "A preserving save"). Codes, lock,
    // replace and binding are those of SaveCFG; in addition RE_FILE_REPLACE
    // (63), the target untouched, when the file at the path name is there but
    // cannot be read.
    RETERROR SaveCFG(const char* path, SaveMode mode);

    // Why the last LoadCFG or SaveCFG failed: the operation, the file and
    // the reason the system gave ("saving /srv/m.ini: permission denied");
    // a load that returned RE_FILE_UNREADABLE says whether the file is
    // missing, a folder, no regular file, unreadable or empty. "" after a
    // call that read or wrote its file (a load that reports a code found in
    // the file included).
    std::string GetLastErrorText() const;

    // The file the document is bound to; "" when none. Null counts as "".
    void SetPathName(const char* path);
    std::string GetPathName() const;

    // A flag kept for the caller; the library neither sets nor reads it.
    void SetModifiedFlag(int flag);
    int GetModifiedFlag() const;

    // 0 when the file at the path name is still the one the last load read:
    // the same last-write time at the file system's full resolution, and the
    // same size and identity (a file replaced within one tick of the clock
    // still shows). 1 otherwise, and when there is no path name or the file
    // cannot be opened for reading. The modified flag plays no part.
    int IsModified() const;

    // The header and protection objects, owned by the document.
    HeaderPrg& GetHeader();
    const HeaderPrg& GetHeader() const;
    Protection& GetProtection();
    const Protection& GetProtection() const;

    // Header fields. Setters change memory only; 16-bit fields keep the low
    // 16 bits of what they are given; a null text counts as "".
    std::string HeaderGetMachineType() const;
    std::string HeaderGetDescription() const;
    void HeaderSetDescription(const char* description);
    // Stores the version through each pointer that is not null.
    void HeaderGetVersion(int* major, int* minor) const;
    short HeaderGetProcessingRows() const;
    void HeaderSetProcessingRows(int rows);
    short HeaderGetStartBlockIndex() const;
    void HeaderSetStartBlockIndex(int block);
    // The name of the last developed design (without its two integers).
    std::string HeaderGetLastDevelop() const;
    void HeaderSetLastDevelop(const char* name, int first, int second);
    void HeaderSetSourceCfg(const char* name);
    void HeaderSetSourceSdi(const char* name);

    // Colors and lines ------------------------------------------------------

    // Reads every section of the file at the path name whose name begins with
    // "Color_" (exact letter case; the rest of the name is not looked at), in
    // file order, into a new color appended to the color list, whatever its
    // ColorPrg::LoadSection returned; the color's number comes from its "ID"
    // key. Only names within the first 8192 characters of the list of section
    // names are seen. Returns RE_NO_COLOR_SECTIONS (11) when the file lists no section
    // at all (or is missing), else 0.
    RETERROR LoadColors();

    // Writes every color of the color list into the file at the path name
    // (ColorPrg::SaveColor), each replacing its own section; no other section
    // is removed. Every color is written even after a failure; returns the
    // first non-zero code, RE_WRITE_SECTION (38) when the file could not be
    // written, or 0 (also for an empty list).
    RETERROR SaveColors();

    // Reads every section of the file at the path name whose name begins with
    // "Line_" (exact letter case), in file order, into a new line that files
    // itself at the end of the line list (LinePrg::LoadSection), whatever its
    // result. Returns RE_NO_SECTIONS (18) when the file lists no section at
    // all (or is missing), else 0.
    RETERROR LoadLines();

    // Writes every line of the line list into the file at the path name
    // (LinePrg::SaveLine: lines of a plane above 1 are left out). Every line
    // is written even after a failure; returns the first non-zero code,
    // RE_WRITE_SECTION (38) when the file could not be written, or 0.
    RETERROR SaveLines();

    // Inserts a new, empty line of `plane` numbered index + (plane - 1) * 10
    // (both kept as 16 bits; planes hold lines in blocks of ten) before the
    // first line of the same plane whose number is greater, or at the end.
    // Lines of other planes never decide the place. Touches neither the
    // header nor any plane's number of lines. Returns 0, or RE_NO_SECTIONS
    // (18) when the line could not be placed (no memory), changing nothing.
    RETERROR CreateLine(int index, int plane);

    // The lines and the colors, in list order, owned by the document.
    const std::vector<std::unique_ptr<LinePrg>>& Lines() const;
    const std::vector<std::unique_ptr<ColorPrg>>& Colors() const;
    // --- Planes ------------------------------------------------------------
    // The plane list, in load and creation order. The planes are owned by the
    // document: pointers handed out stay valid until ReleaseCFG or the
    // destructor.

    // Reads the planes of the file at the path name and appends them to the
    // plane list, without emptying it first. When the section "ColorPlanes"
    // lists any key, every key of it beginning with "Plane_" (exact letter
    // case), in file order, gives a plane (PlanePrg::Load: its number is the
    // entry's first value) with the header's NumberOfLines and StartBlock as
    // they stand; plane sections are then ignored. Otherwise every section
    // whose name begins with "Plane_" gives a plane (PlanePrg::LoadSection),
    // with its own number of lines and start block. Only names within the
    // first 8192 characters of each list are seen. Always returns 0: what the
    // planes report is not used.
    RETERROR LoadPlanes();

    // Writes the plane entry of every plane of the plane list, in list
    // order, into "ColorPlanes" of the file at the path name
    // (PlanePrg::SavePlane); the section's other keys stay, and neither
    // blocks nor plane sections are written. Every plane is written even
    // after a failure; returns the first non-zero code (RE_WRITE_PLANE, 42,
    // also when the file could not be written), or 0 (also for an empty
    // list).
    RETERROR SavePlanes();

    // Appends a new plane with `number`, `description` (null counts as "")
    // and `priority` (numbers as 16 bits), and the header's NumberOfLines and
    // StartBlock, without looking for a plane of that number. Returns 0, or
    // RE_PLANE_NOT_ADDED (12), changing nothing, when it could not be added
    // (no memory).
    RETERROR CreatePlane(int number, const char* description, int priority);

    // The plane list, read-only.
    const std::vector<std::unique_ptr<PlanePrg>>& Planes() const;

    // --- Queries and edits -------------------------------------------------
    // Lookups hand out objects owned by the document, valid until ReleaseCFG,
    // the destructor or the edit that removes them; null when nothing is
    // found. Numbers are compared as 16 bits and the first object in list
    // order wins. -1 as a plane, color or line argument of a list query means
    // "any". Nothing here touches the file: edits show at the next SaveCFG.

    // The number of planes, lines and colors in the document's lists.
    short GetPlanesCount() const;
    short GetLinesCount() const;
    short GetColorsCount() const;

    // The first plane whose number is `number`.
    PlanePrg* GetPlane(short number);
    // The first color whose ID is `id`; null for a negative `id`.
    ColorPrg* GetColor(short id);
    // The first line whose ID is `id` and whose Plane is `plane`.
    LinePrg* GetLine(short id, short plane);
    // The first actuator whose Id is `id` in a color whose ID is `colorId`:
    // every color of that number is searched, in list order.
    Attuat* GetAttuat(short id, short colorId);
    // The first actuator whose Id is `id` (its low 16 bits) in any line, in
    // list order.
    Attuat* LinePrgGetAttuat(int id);

    // The state (GetStato), Caduta and IdCaduta of the actuator `id` of the
    // first color whose ID is `colorId`; -32768 when there is no such color,
    // when that color has no actuator `id` (even if a later color of the
    // number has), or, for the state, when the actuator's kind has none.
    short GetStatoAttuat(short id, short colorId) const;
    short GetCadutaAttuat(short id, short colorId) const;
    short GetIdCadutaAttuat(short id, short colorId) const;

    // The index-list queries. Each appends to `list` (never clearing it) and
    // returns the number of elements the list holds afterwards, counting
    // those it held before, as 16 bits; a null `list` receives nothing and
    // gives 0.
    //
    // The identifiers of every actuator of one kind in the colors (lines)
    // whose Plane is `plane` and whose ID is `colorId` (`lineId`), -1
    // matching any: each identifier that the list does not hold yet is
    // appended once, in the order first met (list order of the programs,
    // then of their actuators).
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
    // The numbers of the colors (lines) of `plane` (-1: any), each appended
    // once unless the list holds it, in list order.
    short GetListColors(IndexList* list, short plane) const;
    short GetListLines(IndexList* list, short plane) const;
    // The number of every line of `plane` (-1: any), appended once for each
    // of its actuators whose Id is `id`, duplicates included.
    short GetListLineAttuat(IndexList* list, short id, short plane) const;

    // Appends a new, empty color with ID `id` and Plane `plane`, even when a
    // color of that number exists (the later one is then shadowed), and
    // returns it. Null, changing nothing, when `id` is negative, `plane` is
    // not positive or the color could not be made.
    ColorPrg* AddColor(short id, short plane);

    // Destroys the first color whose ID is `id`, with its actuators, and
    // returns 1; 0 when `id` is negative or there is no such color.
    int RemoveColor(short id);

    // Appends a new, empty line to `plane` numbered n + (plane - 1) * 10,
    // where n is the number of lines the plane has in the line list, then
    // adds 1 to that plane's NumberOfLines and, for plane 1, sets the
    // header's number of lines to it. Returns 1. Returns 0, changing
    // nothing, when `plane` is below 1 or the plane has `maxLines` lines or
    // more; and 0 when no plane has that number, the line then staying in
    // the line list with no count raised.
    int AddLine(int maxLines, int plane);

    // Undoes AddLine: destroys the first line of `plane` numbered
    // (n - 1) + (plane - 1) * 10, where n is the number of lines the plane
    // has, then takes 1 from that plane's NumberOfLines and, for plane 1,
    // sets the header's number of lines to it. Returns 1. Returns 0 when
    // `plane` is not positive, the plane has no line, or no line of the plane
    // carries that number (lines whose numbers do not follow the scheme):
    // then nothing changes, so that the counts keep telling how many lines
    // the plane has. Returns 0 also when the line was removed but no plane
    // has that number.
    int RemoveLastLine(int plane);

    // Replaces the block `block` of the plane `plane` (both as 16 bits): the
    // first block of that number, if any, is destroyed, and a new block with
    // `parameter` and `values` is appended at the end of the plane's blocks.
    // Returns 1; 0, changing nothing, when no plane has that number.
    int LoadBlock(int plane, int block, int parameter, IndexList values);

    // The ID of the first color whose Help (HelpAbstract) equals `text`
    // without regard to ASCII letter case; -1 when none does or `text` is
    // null.
    short GetColorForHelp(const char* text) const;
    short GetColorForHelpAbstract(const char* text) const;

    // A copy of the Help (HelpAbstract) of the first color whose ID is `id`;
    // "No Help Description" ("No Help Abstract Description") when there is no
    // such color.
    std::string GetColorHelp(short id) const;
    std::string GetColorHelpAbstrct(short id) const;

    // Sets the Help (HelpAbstract) of the first color whose ID is `id` to
    // `text` (null counts as "", line breaks as CR LF) and returns 1; 0,
    // changing nothing, when there is no such color.
    int SetColorHelp(short id, const char* text);
    int SetColorHelpAbstrct(short id, const char* text);

    // --- Generated designs -------------------------------------------------
    // The design list, in load and creation order. The designs are owned by
    // the document: pointers handed out stay valid until the design is
    // deleted (GeneratedDisDel, GeneratedDisRemove, ReleaseCFG, destructor).

    // Reads "GeneratedDis" and every design's own section from the file at
    // the path name and appends the designs to the list, without emptying it
    // first. Returns RE_NO_SECTIONS (18), changing nothing, when the file
    // holds no section at all; 0 otherwise, also when "GeneratedDis" is
    // missing. The table is read as 8192 characters: designs beyond that are
    // not seen.
    RETERROR LoadGenDis();

    // Removes from the file at the path name the sections named by its
    // current "GeneratedDis" table and the table itself, then writes every
    // design of the list (its table line and its own section). Returns the
    // first non-zero code of the designs' writes (RE_WRITE_LAST_DEVELOP, 56),
    // else 0. All the removals and writes reach the file as one write; when
    // that write fails, the file is left as it was and the result is 56.
    RETERROR SaveGenDis() const;

    // The first design whose name equals `name` without regard to letter
    // case; null when there is none or `name` is null.
    CGenDis* GeneratedDisSearch(const char* name);

    // Appends the name of every design, in list order, to `names` (not
    // emptied first). Does nothing when `names` is null.
    void GeneratedDisGet(StringArray* names) const;

    // Sets the numbers of the design found by GeneratedDisSearch, or appends
    // a new design named `name` as given, with an empty pattern list, and
    // returns it (owned by the document). A null `name` returns null and
    // changes nothing.
    CGenDis* GeneratedDisUpdate(const char* name, int first, int second);

    // Deletes every design.
    void GeneratedDisRemove();

    // Deletes the first design whose name equals `name` exactly, letter case
    // included, and returns 1; 0 when there is none or `name` is null.
    int GeneratedDisDel(const char* name);

    // The design list, read-only.
    const std::vector<std::unique_ptr<CGenDis>>& Designs() const;

    // --- Shaved designs ----------------------------------------------------
    // The shaved list, in load and creation order. Callers exchange an entry
    // as one array: its first, second and third number (their 32 bits), then
    // its elements.

    // Reads "ShavedDis" from the file at the path name and appends one entry
    // per line, whatever the line's own load returned, without emptying the
    // list first. Returns RE_NO_SECTIONS (18), changing nothing, when the
    // file holds no section at all; 0 otherwise. The section is read as 8192
    // characters: entries beyond that are not seen.
    RETERROR LoadShavedDis();

    // Writes the line of every entry that has a name and at least one element
    // into "ShavedDis" of the file at the path name, without clearing the
    // section first. Returns the code of the last entry written
    // (RE_WRITE_SHAVED, 58, when that write was refused); 0 when none was
    // written. All the writes reach the file as one write; when that write
    // fails, the file is left as it was and the result is 58.
    RETERROR SaveShavedDis() const;

    // Replaces the content of `names` with the name of every entry, in list
    // order, and returns how many there are. Returns 0 when `names` is null.
    int ShavedDisGetList(StringArray* names) const;

    // Replaces the content of `values` with the first entry whose name equals
    // `name` without regard to letter case, as the exchange array, and
    // returns its size (3 plus the number of elements); 0, with `values`
    // left empty, when there is no such entry. Returns 0 when `values` is
    // null.
    int ShavedDisGet(const char* name, UIntArray* values) const;

    // Sets the entry found as ShavedDisGet finds it, or appends a new entry
    // named `name` as given (numbers 0, no elements), from an exchange array.
    // With fewer than 4 values only the new entry is made: an entry found
    // keeps its numbers and elements. The stored name never changes. A null
    // `name` does nothing; a null `values` counts as empty. `values` is not
    // changed.
    void ShavedDisSet(const char* name, UIntArray* values);

    // Deletes the first entry whose name contains `name`, letter case
    // included (the empty text is in every name), and returns 1; 0 when no
    // name contains it. A null `name` deletes nothing and returns 0.
    int ShavedDisDel(const char* name);

    // Deletes every entry.
    void ShavedDisRemove();

    // The shaved list, read-only.
    const std::vector<std::unique_ptr<CShavedDis>>& ShavedDesigns() const;

    // --- Machine paths and descriptions ------------------------------------

    // Adapts the document in memory to another machine folder: the header's
    // machine type becomes the "MachineType" of the header of `machineFile`
    // ("" when the file or key is missing; cut to 259 characters); then the
    // last-develop name, the "SourceCfg" name, every design name and every
    // pattern name are turned to lower case and every occurrence of the old
    // folder in them is replaced by the new one. A folder is its path without
    // the first two characters (the drive), in lower case; an empty old folder
    // replaces nothing. Null texts count as "". Nothing is written: save the
    // document to keep the change. Always returns 1.
    int ChangePathNameMachine(const char* machineFile, const char* oldPath, const char* newPath);

    // The description of a configuration file without loading it: this
    // document's own header description when it is bound to a path (the
    // argument is then not used); otherwise the "Description" of the header
    // of `file`, cut to 8191 characters, with every backslash + 'n' turned
    // into CR LF; "" when the file, section or key is missing (or when the
    // description is the text "<NOT FOUND>").
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
