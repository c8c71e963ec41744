#pragma once

// The line actuators: the presence of one actuator of each kind of device on
// one machine line, with the feed on which it acts. They carry only Id,
// Caduta and IdCaduta, in the entry "Id, Caduta, IdCaduta"; their prefixes
// and codes are in docs/actuators.md. Every slot that a class does not
// answer for its own kind gives the base result documented on Attuat.
//
// Each ConfigureXxxLine reads Id, Caduta and IdCaduta (16 bits each) from
// the entry `key`: 1 with err 0; 0 with the class's configure code and the
// fields kept when the value is empty.

#include "knitcfg/actuators/AttuatKind.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"

namespace knitcfg {

// A drum on a line: prefix "Drum_".
class KNITCFG_API DrumLine : public detail::AttuatKind<DrumLine> {
    KNITCFG_DECLARE_CLASS(DrumLine)

public:
    int ConfigureDrumLine(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A yarn finger on a line: prefix "Finger_".
class KNITCFG_API FingerLine : public detail::AttuatKind<FingerLine> {
    KNITCFG_DECLARE_CLASS(FingerLine)

public:
    int ConfigureFingerLine(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A splitter on a line: prefix "Splitter_".
class KNITCFG_API SplitterLine : public detail::AttuatKind<SplitterLine> {
    KNITCFG_DECLARE_CLASS(SplitterLine)

public:
    int ConfigureSplitterLine(const char* section, const char* key, const char* file,
                              RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A cam (triangle) on a line: prefix "Triangle_".
class KNITCFG_API TriangleLine : public detail::AttuatKind<TriangleLine> {
    KNITCFG_DECLARE_CLASS(TriangleLine)

public:
    int ConfigureTriangleLine(const char* section, const char* key, const char* file,
                              RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A stepping motor on a line: prefix "SteppingMotor_".
class KNITCFG_API StepMotorLine : public detail::AttuatKind<StepMotorLine> {
    KNITCFG_DECLARE_CLASS(StepMotorLine)

public:
    int ConfigureStepMotorLine(const char* section, const char* key, const char* file,
                               RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A design stepping motor on a line: prefix "SteppingMotorDis_".
class KNITCFG_API StepMotorDisLine : public detail::AttuatKind<StepMotorDisLine> {
    KNITCFG_DECLARE_CLASS(StepMotorDisLine)

public:
    int ConfigureStepMotorDisLine(const char* section, const char* key, const char* file,
                                  RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A speeder on a line: prefix "Speeder_".
class KNITCFG_API SpeederLine : public detail::AttuatKind<SpeederLine> {
    KNITCFG_DECLARE_CLASS(SpeederLine)

public:
    int ConfigureSpeederLine(const char* section, const char* key, const char* file,
                             RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

}  // namespace knitcfg
