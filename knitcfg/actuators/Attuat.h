#pragma once

#include <string>

#include "knitcfg/actuators/AttuatBase.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// The base of the fourteen actuator classes: an identifier (AttuatBase::Id)
// and a feed. Its virtual operations, declared here in their slot order, are
// the one interface through which colors, lines and callers use an actuator
// of any kind. The comment of each operation states the contract that every
// override keeps, then what Attuat itself does, which is what every kind that
// does not override the slot does.
//
// Arguments: `section`, `key` and `file` are NUL-terminated 8-bit texts: a
// section name, the key of an actuator entry ("Drum_000") and the path of the
// configuration file. `err`, where present, receives a RETERROR; a null `err`
// is allowed and receives nothing. A null key matches no kind prefix; a null
// section or file reads as an empty value. `counter` is a kind's entry
// counter: the number of the entry written next; a null counter numbers the
// entry 000 and is not advanced. Every file access goes through
// knitcfg::profile.
//
// An actuator entry is a key=value line: the kind prefix ("Drum_",
// "Finger_", "Splitter_", "Triangle_", "SteppingMotor_",
// "SteppingMotorDis_", "Speeder_") and an entry number of at least three
// digits, then the kind's items, the first three being Id, Caduta and
// IdCaduta. The entry number is not read back.
class KNITCFG_API Attuat : public AttuatBase {
    KNITCFG_DECLARE_CLASS(Attuat)

public:
    // Id, Caduta and IdCaduta are -32768 ("no value").
    Attuat() = default;
    // Copies every field, base fields included.
    Attuat(const Attuat& other) = default;
    // Releases the texts of the kinds that have them.
    ~Attuat() override;

    // Called on a prototype: when `key` has the object's kind prefix and a
    // non-empty value that parses, configures the object itself from the
    // entry, sets err to 0 and returns a clone of it (new, owned by the
    // caller). Otherwise returns null with err set to the kind's load code,
    // and the object keeps its fields.
    // Attuat: err 1, null.
    virtual Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err);

    // 1 when the value of `key` begins with a decimal integer (blanks and a
    // sign allowed) equal to Id, else 0; 0 also for an empty value. The key's
    // prefix is not looked at: any key whose value starts with that number
    // answers 1. A missing key reads as "0". The same for every kind.
    virtual int AlreadyInList(const char* section, const char* key, const char* file) const final;

    // When `key` begins with the object's kind prefix (exact letter case),
    // re-reads the object's fields from the entry through the kind's
    // configure operation and returns its result: 1 with err 0 when the
    // fields were read, 0 with err set to the kind's configure code when the
    // value was empty or held a text longer than its room (fields kept).
    // Another prefix: 0 with err 1, fields kept.
    // Attuat: 0, err unchanged.
    virtual int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err);

    // Index-list operations, one per kind of device. The operation of the
    // object's own kind appends Id to `list` unless the list holds it
    // already; every operation returns 1, and those of other kinds add
    // nothing. The list is never cleared; a null list receives nothing.
    // Attuat: 1, nothing added.
    virtual int AddListDrum(IndexList* list) const;
    virtual int AddListFinger(IndexList* list) const;
    virtual int AddListSplitter(IndexList* list) const;
    virtual int AddListTriangle(IndexList* list) const;
    virtual int AddListStepMotor(IndexList* list) const;
    virtual int AddListStepMotorDis(IndexList* list) const;
    virtual int AddListSpeeder(IndexList* list) const;

    // Single-entry writers, one per kind and side, for callers outside the
    // library. The writer of the object's own kind and side writes the entry
    // with the key prefix + *counter ("%3.3d") and the kind's value format
    // into `section` of `file`, adds 1 to *counter whether the write
    // succeeded or not, and returns 0, or the kind's save code when the
    // write was refused. Every other writer returns 0, writes nothing and
    // leaves the counter alone.
    // Attuat: 0, nothing written, counter unchanged.
    virtual RETERROR SaveDrumColor(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveFingerColor(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveSplitterColor(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveTriangleColor(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveStepMotorColor(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveStepMotorDisColor(const char* section, const char* file,
                                           int* counter) const;
    virtual RETERROR SaveSpeederColor(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveDrumLine(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveFingerLine(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveSplitterLine(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveTriangleLine(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveStepMotorLine(const char* section, const char* file, int* counter) const;
    virtual RETERROR SaveStepMotorDisLine(const char* section, const char* file,
                                          int* counter) const;
    virtual RETERROR SaveSpeederLine(const char* section, const char* file, int* counter) const;

    // A new object of the same class with every field copied, texts included;
    // owned by the caller. Attuat: a new Attuat with Id, Caduta, IdCaduta.
    virtual Attuat* Clone() const;

    // The state of a kind that has one (drum, finger, splitter, cam and
    // stepping-motor colors). Attuat: -32768; SetStato does nothing.
    virtual short GetStato() const;
    virtual void SetStato(short stato);

    // The full 32-bit position of a stepping-motor color.
    // Attuat: 32768; SetQuota does nothing.
    virtual int GetQuota() const;
    virtual void SetQuota(int quota);

    // The speed text of a speeder color, kept exactly as written.
    // Attuat: the empty text; SetVelocita does nothing.
    virtual std::string GetVelocita() const;
    virtual void SetVelocita(const char* velocita);

    // The balances and ramps of a design stepping-motor color. Attuat: -1.
    virtual short GetBilancFin() const;
    virtual short GetBilancIniz() const;
    virtual short GetRampaFinRanghi() const;
    virtual short GetRampaInizRanghi() const;
    virtual short GetRampaFinAghi() const;
    virtual short GetRampaInizAghi() const;

    // The two position texts of a design stepping-motor color.
    // Attuat: the empty text.
    virtual std::string GetQuotaRanghi() const;
    virtual std::string GetQuotaAghi() const;

    // The whole entry as one "key=value" text, numbered by *counter, in the
    // kind's entry format; then adds 1 to *counter. Touches no file.
    // Attuat: the empty text, counter unchanged.
    virtual std::string SaveStringAttuat(int* counter) const;

    // The feed on which the actuator acts; colors and lines keep their
    // actuators sorted by it. Public so that callers can build actuators.
    short Caduta = kNoValue;
    // A second number of the feed, kept and handed back as it is.
    short IdCaduta = kNoValue;

protected:
    // "No position": the base result of GetQuota and a stepping motor's
    // default position, one past the 16-bit range.
    static constexpr int kNoQuota = 32768;

    // One pair of a class's prefix table: a kind prefix and the configure
    // operation that takes entries with it. A table ends with a null prefix.
    template <class T>
    struct PrefixEntry {
        const char* prefix;
        int (T::*configure)(const char* section, const char* key, const char* file, RETERROR* err);
    };
};

}  // namespace knitcfg
