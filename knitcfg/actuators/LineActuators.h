#pragma once

// The line actuators: the presence of one actuator of each kind of device on
// one machine line, with the feed on which it acts. They carry no setting,
// only Id, Caduta and IdCaduta, and share one entry: the kind prefix, the
// entry number and "Id, Caduta, IdCaduta" (format "%d, %d, %d"), read through
// a buffer of 512 characters; a missing key reads "0, 0, 0" and a field
// without an item becomes -32768. They use the same kind prefixes as the
// color actuators: which class takes an entry depends on whether a line or a
// color reads the section. Each class overrides only LoadObj, UpdateObj,
// Clone, SaveStringAttuat, the index-list operation of its kind and the line
// writer of its kind; every other slot gives the base result documented on
// Attuat. The classes differ in prefix and codes:
//
//   class              prefix               load  configure  save
//   DrumLine           "Drum_"              28    28         45
//   FingerLine         "Finger_"            29    16         46
//   SplitterLine       "Splitter_"          30    16         47
//   TriangleLine       "Triangle_"          34    16         48
//   StepMotorLine      "SteppingMotor_"     31    31         49
//   StepMotorDisLine   "SteppingMotorDis_"  31    32         49
//   SpeederLine        "Speeder_"           33    16         51
//
// The load code is LoadObj's when the key is of another kind or its value is
// empty; the configure code is what the configure operation (and UpdateObj)
// reports for an empty value; the save code is the line writer's when the
// write is refused.

#include <string>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// A drum on a line: prefix "Drum_"; codes load 28, configure 28, save 45.
class KNITCFG_API DrumLine : public Attuat {
    KNITCFG_DECLARE_CLASS(DrumLine)

public:
    DrumLine() = default;
    DrumLine(const DrumLine& other) = default;
    ~DrumLine() override;

    // Reads Id, Caduta and IdCaduta (16 bits each) from the entry `key`.
    // Returns 1 with err 0; 0 with err 28 and the fields kept when the
    // value is empty.
    int ConfigureDrumLine(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListDrum(IndexList* list) const override;
    RETERROR SaveDrumLine(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

private:
    static const PrefixEntry<DrumLine> kPrefixTable[];
};

// A yarn finger on a line: prefix "Finger_"; codes load 29, configure 16, save 46.
class KNITCFG_API FingerLine : public Attuat {
    KNITCFG_DECLARE_CLASS(FingerLine)

public:
    FingerLine() = default;
    FingerLine(const FingerLine& other) = default;
    ~FingerLine() override;

    // Reads Id, Caduta and IdCaduta (16 bits each) from the entry `key`.
    // Returns 1 with err 0; 0 with err 16 and the fields kept when the
    // value is empty.
    int ConfigureFingerLine(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListFinger(IndexList* list) const override;
    RETERROR SaveFingerLine(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

private:
    static const PrefixEntry<FingerLine> kPrefixTable[];
};

// A splitter on a line: prefix "Splitter_"; codes load 30, configure 16, save 47.
class KNITCFG_API SplitterLine : public Attuat {
    KNITCFG_DECLARE_CLASS(SplitterLine)

public:
    SplitterLine() = default;
    SplitterLine(const SplitterLine& other) = default;
    ~SplitterLine() override;

    // Reads Id, Caduta and IdCaduta (16 bits each) from the entry `key`.
    // Returns 1 with err 0; 0 with err 16 and the fields kept when the
    // value is empty.
    int ConfigureSplitterLine(const char* section, const char* key, const char* file,
                              RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListSplitter(IndexList* list) const override;
    RETERROR SaveSplitterLine(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

private:
    static const PrefixEntry<SplitterLine> kPrefixTable[];
};

// A cam (triangle) on a line: prefix "Triangle_"; codes load 34, configure 16, save 48.
class KNITCFG_API TriangleLine : public Attuat {
    KNITCFG_DECLARE_CLASS(TriangleLine)

public:
    TriangleLine() = default;
    TriangleLine(const TriangleLine& other) = default;
    ~TriangleLine() override;

    // Reads Id, Caduta and IdCaduta (16 bits each) from the entry `key`.
    // Returns 1 with err 0; 0 with err 16 and the fields kept when the
    // value is empty.
    int ConfigureTriangleLine(const char* section, const char* key, const char* file,
                              RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListTriangle(IndexList* list) const override;
    RETERROR SaveTriangleLine(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

private:
    static const PrefixEntry<TriangleLine> kPrefixTable[];
};

// A stepping motor on a line: prefix "SteppingMotor_"; codes load 31, configure 31, save 49.
class KNITCFG_API StepMotorLine : public Attuat {
    KNITCFG_DECLARE_CLASS(StepMotorLine)

public:
    StepMotorLine() = default;
    StepMotorLine(const StepMotorLine& other) = default;
    ~StepMotorLine() override;

    // Reads Id, Caduta and IdCaduta (16 bits each) from the entry `key`.
    // Returns 1 with err 0; 0 with err 31 and the fields kept when the
    // value is empty.
    int ConfigureStepMotorLine(const char* section, const char* key, const char* file,
                               RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListStepMotor(IndexList* list) const override;
    RETERROR SaveStepMotorLine(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

private:
    static const PrefixEntry<StepMotorLine> kPrefixTable[];
};

// A design stepping motor on a line: prefix "SteppingMotorDis_"; codes load 31, configure 32,
// save 49.
class KNITCFG_API StepMotorDisLine : public Attuat {
    KNITCFG_DECLARE_CLASS(StepMotorDisLine)

public:
    StepMotorDisLine() = default;
    StepMotorDisLine(const StepMotorDisLine& other) = default;
    ~StepMotorDisLine() override;

    // Reads Id, Caduta and IdCaduta (16 bits each) from the entry `key`.
    // Returns 1 with err 0; 0 with err 32 and the fields kept when the
    // value is empty.
    int ConfigureStepMotorDisLine(const char* section, const char* key, const char* file,
                                  RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListStepMotorDis(IndexList* list) const override;
    RETERROR SaveStepMotorDisLine(const char* section, const char* file,
                                  int* counter) const override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

private:
    static const PrefixEntry<StepMotorDisLine> kPrefixTable[];
};

// A speeder on a line: prefix "Speeder_"; codes load 33, configure 16, save 51.
class KNITCFG_API SpeederLine : public Attuat {
    KNITCFG_DECLARE_CLASS(SpeederLine)

public:
    SpeederLine() = default;
    SpeederLine(const SpeederLine& other) = default;
    ~SpeederLine() override;

    // Reads Id, Caduta and IdCaduta (16 bits each) from the entry `key`.
    // Returns 1 with err 0; 0 with err 16 and the fields kept when the
    // value is empty.
    int ConfigureSpeederLine(const char* section, const char* key, const char* file, RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListSpeeder(IndexList* list) const override;
    RETERROR SaveSpeederLine(const char* section, const char* file, int* counter) const override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

private:
    static const PrefixEntry<SpeederLine> kPrefixTable[];
};

}  // namespace knitcfg
