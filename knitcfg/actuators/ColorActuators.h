#pragma once

// The color actuators of drums, yarn fingers, splitters, cams (triangles),
// stepping motors and speeders: the setting of one actuator for one color of
// a design. The design stepping motor's color actuator is StepMotorDisColor.
// The virtual operations are documented on Attuat; each class here states
// its entry, its codes and the slots it overrides.

#include <string>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// A drum's state for one color. Entry "Drum_NNN=Id, Caduta, IdCaduta, Stato"
// (format "%d, %d, %d, %d"), read through a buffer of 260 characters, so a
// longer value is cut to 259 before it is parsed. Codes: load 16, configure
// 16, save 45. Overrides GetStato/SetStato, AddListDrum and SaveDrumColor.
class KNITCFG_API DrumColor : public Attuat {
    KNITCFG_DECLARE_CLASS(DrumColor)

public:
    // Every field -32768.
    DrumColor() = default;
    DrumColor(const DrumColor& other) = default;
    ~DrumColor() override;

    // Reads Id, Caduta, IdCaduta and Stato from the entry `key` (16 bits
    // each; a missing key reads "0, 0, 0, 0"; a field without an item
    // becomes -32768). Returns 1 with err 0; 0 with err 16 and the fields
    // kept when the value is empty.
    int ConfigureDrum(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListDrum(IndexList* list) const override;
    RETERROR SaveDrumColor(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    short GetStato() const override;
    void SetStato(short stato) override;
    std::string SaveStringAttuat(int* counter) const override;

protected:
    // The actuator's state for this color, kept without interpretation.
    short Stato = kNoValue;

private:
    static const PrefixEntry<DrumColor> kPrefixTable[];
};

// A yarn finger's state for one color: as DrumColor with the prefix
// "Finger_", a read buffer of 512 characters and the codes load 19,
// configure 19, save 46. Overrides GetStato/SetStato, AddListFinger and
// SaveFingerColor.
class KNITCFG_API FingerColor : public Attuat {
    KNITCFG_DECLARE_CLASS(FingerColor)

public:
    FingerColor() = default;
    FingerColor(const FingerColor& other) = default;
    ~FingerColor() override;

    // As ConfigureDrum, with err 19 for an empty value.
    int ConfigureFinger(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListFinger(IndexList* list) const override;
    RETERROR SaveFingerColor(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    short GetStato() const override;
    void SetStato(short stato) override;
    std::string SaveStringAttuat(int* counter) const override;

protected:
    short Stato = kNoValue;

private:
    static const PrefixEntry<FingerColor> kPrefixTable[];
};

// A splitter's state for one color: as DrumColor with the prefix
// "Splitter_", a read buffer of 512 characters and the codes load 20,
// configure 20, save 47. Overrides GetStato/SetStato, AddListSplitter and
// SaveSplitterColor.
class KNITCFG_API SplitterColor : public Attuat {
    KNITCFG_DECLARE_CLASS(SplitterColor)

public:
    SplitterColor() = default;
    SplitterColor(const SplitterColor& other) = default;
    ~SplitterColor() override;

    // As ConfigureDrum, with err 20 for an empty value.
    int ConfigureSplitter(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListSplitter(IndexList* list) const override;
    RETERROR SaveSplitterColor(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    short GetStato() const override;
    void SetStato(short stato) override;
    std::string SaveStringAttuat(int* counter) const override;

protected:
    short Stato = kNoValue;

private:
    static const PrefixEntry<SplitterColor> kPrefixTable[];
};

// A cam's state for one color: as DrumColor with the prefix "Triangle_", a
// read buffer of 512 characters and the codes load 21, configure 21, save
// 48. Overrides GetStato/SetStato, AddListTriangle and SaveTriangleColor.
class KNITCFG_API TriangleColor : public Attuat {
    KNITCFG_DECLARE_CLASS(TriangleColor)

public:
    TriangleColor() = default;
    TriangleColor(const TriangleColor& other) = default;
    ~TriangleColor() override;

    // As ConfigureDrum, with err 21 for an empty value.
    int ConfigureTriangle(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListTriangle(IndexList* list) const override;
    RETERROR SaveTriangleColor(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    short GetStato() const override;
    void SetStato(short stato) override;
    std::string SaveStringAttuat(int* counter) const override;

protected:
    short Stato = kNoValue;

private:
    static const PrefixEntry<TriangleColor> kPrefixTable[];
};

// A stepping motor's state and position for one color. Entry
// "SteppingMotor_NNN=Id, Caduta, IdCaduta, Stato, Quota" (format
// "%d, %d, %d, %d, %d"), read buffer 512. Quota keeps all 32 bits; the other
// fields take 16. Codes: load 22, configure 22, save 49. Overrides
// GetStato/SetStato, GetQuota/SetQuota, AddListStepMotor and
// SaveStepMotorColor.
class KNITCFG_API StepMotorColor : public Attuat {
    KNITCFG_DECLARE_CLASS(StepMotorColor)

public:
    // Id, Caduta, IdCaduta and Stato -32768; Quota 32768.
    StepMotorColor() = default;
    StepMotorColor(const StepMotorColor& other) = default;
    ~StepMotorColor() override;

    // Reads the five items (a missing key reads "0, 0, 0, 0, 0"; a field
    // without an item takes its default). Returns 1 with err 0; 0 with
    // err 22 and the fields kept when the value is empty.
    int ConfigureStepMotor(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListStepMotor(IndexList* list) const override;
    RETERROR SaveStepMotorColor(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    short GetStato() const override;
    void SetStato(short stato) override;
    int GetQuota() const override;
    void SetQuota(int quota) override;
    std::string SaveStringAttuat(int* counter) const override;

protected:
    short Stato = kNoValue;
    // The stepping motor's position, all 32 bits.
    int Quota = kNoQuota;

private:
    static const PrefixEntry<StepMotorColor> kPrefixTable[];
};

// A speeder's speed for one color. Entry "Speeder_NNN=Id, Caduta, IdCaduta,
// Velocita" (format "%d, %d, %d, %s"), read buffer 512. The speed is text,
// kept exactly as written and never converted. Codes: load 24, configure
// 24, save 51. Overrides GetVelocita/SetVelocita, AddListSpeeder and
// SaveSpeederColor; it has no state (GetStato gives -32768).
class KNITCFG_API SpeederColor : public Attuat {
    KNITCFG_DECLARE_CLASS(SpeederColor)

public:
    // Id, Caduta, IdCaduta -32768; Velocita "+0.000".
    SpeederColor() = default;
    SpeederColor(const SpeederColor& other) = default;
    ~SpeederColor() override;

    // Reads the three numbers and the speed: the non-blank run after the
    // third number's comma, in a room of 10 characters. Returns 1 with err 0
    // (a value of three numbers only gives the empty speed); 0 with err 24
    // and the fields kept when the value is empty or its speed is longer
    // than 10 characters (it is refused, never cut).
    int ConfigureSpeeder(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListSpeeder(IndexList* list) const override;
    RETERROR SaveSpeederColor(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    std::string GetVelocita() const override;
    // Replaces the speed with a copy of the text, whole (null gives the
    // empty text). A speed that is to be read back from a file must be a
    // single run of at most 10 non-blank characters.
    void SetVelocita(const char* velocita) override;
    std::string SaveStringAttuat(int* counter) const override;

protected:
    // The speed, as written in the file ("+0.000").
    std::string Velocita = "+0.000";

private:
    static const PrefixEntry<SpeederColor> kPrefixTable[];
};

}  // namespace knitcfg
