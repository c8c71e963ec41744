#pragma once

#include <string>
#include <vector>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

class DrumColor;
class FingerColor;
class SplitterColor;
class TriangleColor;
class StepMotorColor;
class StepMotorDisColor;
class SpeederColor;
class DrumLine;
class FingerLine;
class SplitterLine;
class TriangleLine;
class StepMotorLine;
class StepMotorDisLine;
class SpeederLine;

namespace entry {
struct Item;
}  // namespace entry

namespace detail {

// The device and the side of an index-list or single-entry writer slot.
enum class Device { Drum, Finger, Splitter, Triangle, StepMotor, StepMotorDis, Speeder };
enum class Side { Color, Line };

// What the fourteen actuator classes do alike, written once: each derives
// from AttuatKind<itself>, which overrides LoadObj, UpdateObj, Clone,
// SaveStringAttuat and every index-list and writer slot from the class's
// entry description (docs/actuators.md). The slots of other kinds keep the
// results documented on Attuat. A class with fields beyond Id, Caduta and
// IdCaduta lists them, in entry order, in its own OwnFields.
template <class Derived>
class AttuatKind : public Attuat {
public:
    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    Attuat* Clone() const override;
    std::string SaveStringAttuat(int* counter) const override;

    int AddListDrum(IndexList* list) const override { return AddList(Device::Drum, list); }
    int AddListFinger(IndexList* list) const override { return AddList(Device::Finger, list); }
    int AddListSplitter(IndexList* list) const override { return AddList(Device::Splitter, list); }
    int AddListTriangle(IndexList* list) const override { return AddList(Device::Triangle, list); }
    int AddListStepMotor(IndexList* list) const override {
        return AddList(Device::StepMotor, list);
    }
    int AddListStepMotorDis(IndexList* l) const override {
        return AddList(Device::StepMotorDis, l);
    }
    int AddListSpeeder(IndexList* list) const override { return AddList(Device::Speeder, list); }

    RETERROR SaveDrumColor(const char* s, const char* f, int* n) const override {
        return Save(Device::Drum, Side::Color, s, f, n);
    }
    RETERROR SaveFingerColor(const char* s, const char* f, int* n) const override {
        return Save(Device::Finger, Side::Color, s, f, n);
    }
    RETERROR SaveSplitterColor(const char* s, const char* f, int* n) const override {
        return Save(Device::Splitter, Side::Color, s, f, n);
    }
    RETERROR SaveTriangleColor(const char* s, const char* f, int* n) const override {
        return Save(Device::Triangle, Side::Color, s, f, n);
    }
    RETERROR SaveStepMotorColor(const char* s, const char* f, int* n) const override {
        return Save(Device::StepMotor, Side::Color, s, f, n);
    }
    RETERROR SaveStepMotorDisColor(const char* s, const char* f, int* n) const override {
        return Save(Device::StepMotorDis, Side::Color, s, f, n);
    }
    RETERROR SaveSpeederColor(const char* s, const char* f, int* n) const override {
        return Save(Device::Speeder, Side::Color, s, f, n);
    }
    RETERROR SaveDrumLine(const char* s, const char* f, int* n) const override {
        return Save(Device::Drum, Side::Line, s, f, n);
    }
    RETERROR SaveFingerLine(const char* s, const char* f, int* n) const override {
        return Save(Device::Finger, Side::Line, s, f, n);
    }
    RETERROR SaveSplitterLine(const char* s, const char* f, int* n) const override {
        return Save(Device::Splitter, Side::Line, s, f, n);
    }
    RETERROR SaveTriangleLine(const char* s, const char* f, int* n) const override {
        return Save(Device::Triangle, Side::Line, s, f, n);
    }
    RETERROR SaveStepMotorLine(const char* s, const char* f, int* n) const override {
        return Save(Device::StepMotor, Side::Line, s, f, n);
    }
    RETERROR SaveStepMotorDisLine(const char* s, const char* f, int* n) const override {
        return Save(Device::StepMotorDis, Side::Line, s, f, n);
    }
    RETERROR SaveSpeederLine(const char* s, const char* f, int* n) const override {
        return Save(Device::Speeder, Side::Line, s, f, n);
    }

protected:
    // The class's configure operation: reads every field from the entry
    // `key`. 1 with err 0; 0 with err set to the configure code and the
    // fields kept when the value is empty or holds a text longer than 10
    // characters.
    int Configure(const char* section, const char* key, const char* file, RETERROR* err);

    // No fields beyond the common three.
    template <class Self, class Visit>
    static void OwnFields(Self& /*self*/, Visit& /*visit*/) {}

private:
    // Id, Caduta, IdCaduta and the class's own fields, in entry order.
    std::vector<entry::Item> EntryItems() const;
    int AddList(Device device, IndexList* list) const;
    RETERROR Save(Device device, Side side, const char* section, const char* file,
                  int* counter) const;

    // The class's prefix table: its kind prefix with Configure.
    static const PrefixEntry<AttuatKind> kPrefixTable[];
};

// The base of the colors whose first field beyond the common three is a
// 16-bit state: the drum, finger, splitter, cam and stepping-motor colors.
template <class Derived>
class StateColor : public AttuatKind<Derived> {
    friend AttuatKind<Derived>;

public:
    short GetStato() const override { return Stato; }
    void SetStato(short stato) override { Stato = stato; }

protected:
    template <class Self, class Visit>
    static void OwnFields(Self& self, Visit& visit) {
        visit(self.Stato, kNoValue);
    }

    // The actuator's state for this color, kept without interpretation;
    // -32768 until read.
    short Stato = kNoValue;
};

// The library instantiates the fourteen bases once and exports them; a
// caller's compiler makes its own copies of the inline slots.
#if defined(KNITCFG_BUILDING)
extern template class KNITCFG_API AttuatKind<DrumColor>;
extern template class KNITCFG_API AttuatKind<FingerColor>;
extern template class KNITCFG_API AttuatKind<SplitterColor>;
extern template class KNITCFG_API AttuatKind<TriangleColor>;
extern template class KNITCFG_API AttuatKind<StepMotorColor>;
extern template class KNITCFG_API AttuatKind<StepMotorDisColor>;
extern template class KNITCFG_API AttuatKind<SpeederColor>;
extern template class KNITCFG_API AttuatKind<DrumLine>;
extern template class KNITCFG_API AttuatKind<FingerLine>;
extern template class KNITCFG_API AttuatKind<SplitterLine>;
extern template class KNITCFG_API AttuatKind<TriangleLine>;
extern template class KNITCFG_API AttuatKind<StepMotorLine>;
extern template class KNITCFG_API AttuatKind<StepMotorDisLine>;
extern template class KNITCFG_API AttuatKind<SpeederLine>;
#endif

}  // namespace detail

}  // namespace knitcfg
