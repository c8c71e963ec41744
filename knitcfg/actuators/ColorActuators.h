#pragma once

// The color actuators of drums, yarn fingers, splitters, cams (triangles),
// stepping motors and speeders: the setting of one actuator for one color of
// a design. The design stepping motor's color actuator is StepMotorDisColor.
// The virtual operations are documented on Attuat; prefixes, formats and
// codes are in docs/actuators.md.
//
// Each ConfigureXxx reads Id, Caduta, IdCaduta and the class's own fields
// from the entry `key` (a field without an item takes its default, a text
// the empty text): 1 with err 0; 0 with the class's configure code and the
// fields kept when the value is empty or holds a text of more than 10
// characters, which is refused rather than cut.

#include <string>

#include "knitcfg/actuators/AttuatKind.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// A drum's state for one color: entry "Drum_NNN=Id, Caduta, IdCaduta, Stato",
// read through a buffer of 260 characters (a longer value is cut first).
class KNITCFG_API DrumColor : public detail::StateColor<DrumColor> {
    KNITCFG_DECLARE_CLASS(DrumColor)

public:
    int ConfigureDrum(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A yarn finger's state for one color: as DrumColor with the prefix "Finger_".
class KNITCFG_API FingerColor : public detail::StateColor<FingerColor> {
    KNITCFG_DECLARE_CLASS(FingerColor)

public:
    int ConfigureFinger(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A splitter's state for one color: as DrumColor with the prefix "Splitter_".
class KNITCFG_API SplitterColor : public detail::StateColor<SplitterColor> {
    KNITCFG_DECLARE_CLASS(SplitterColor)

public:
    int ConfigureSplitter(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A cam's state for one color: as DrumColor with the prefix "Triangle_".
class KNITCFG_API TriangleColor : public detail::StateColor<TriangleColor> {
    KNITCFG_DECLARE_CLASS(TriangleColor)

public:
    int ConfigureTriangle(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
};

// A stepping motor's state and position for one color: entry
// "SteppingMotor_NNN=Id, Caduta, IdCaduta, Stato, Quota".
class KNITCFG_API StepMotorColor : public detail::StateColor<StepMotorColor> {
    KNITCFG_DECLARE_CLASS(StepMotorColor)
    friend AttuatKind;

public:
    int ConfigureStepMotor(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
    int GetQuota() const override { return Quota; }
    void SetQuota(int quota) override { Quota = quota; }

protected:
    // The stepping motor's position, all 32 bits; 32768 until read.
    int Quota = kNoQuota;

private:
    template <class Self, class Visit>
    static void OwnFields(Self& self, Visit& visit) {
        StateColor::OwnFields(self, visit);
        visit(self.Quota, kNoQuota);
    }
};

// A speeder's speed for one color: entry "Speeder_NNN=Id, Caduta, IdCaduta,
// Velocita". The speed is text, kept exactly as written and never converted;
// a value of three numbers only reads the empty speed.
class KNITCFG_API SpeederColor : public detail::AttuatKind<SpeederColor> {
    KNITCFG_DECLARE_CLASS(SpeederColor)
    friend AttuatKind;

public:
    int ConfigureSpeeder(const char* section, const char* key, const char* file, RETERROR* err) {
        return Configure(section, key, file, err);
    }
    std::string GetVelocita() const override { return Velocita; }
    // Replaces the speed with a copy of the text, whole (null gives the
    // empty text). A speed to be read back must be one run of at most 10
    // non-blank characters.
    void SetVelocita(const char* velocita) override {
        Velocita = velocita != nullptr ? velocita : "";
    }

protected:
    // The speed, as written in the file.
    std::string Velocita = "+0.000";

private:
    template <class Self, class Visit>
    static void OwnFields(Self& self, Visit& visit) {
        visit(self.Velocita);
    }
};

}  // namespace knitcfg
