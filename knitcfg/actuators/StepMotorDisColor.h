#pragma once

#include <string>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

namespace detail {
void EmptyColorPrototypeTexts();
}  // namespace detail

// A design stepping motor's setting for one color: a needles' position and a
// ranks' position, each with a start and an end ramp, and a start and an end
// balance. The two positions are texts, kept exactly as written and never
// converted. Entry "SteppingMotorDis_NNN=" followed by the eleven fields in
// declaration order separated by single blanks (format
// "%d %d %d %s %d %d %s %d %d %d %d"), read buffer 512. Codes: load 23,
// configure 23, save 50. Overrides the eight design getters,
// AddListStepMotorDis and SaveStepMotorDisColor; it has no state, position
// or speed, and no setters: its fields change only by configuring.
class KNITCFG_API StepMotorDisColor : public Attuat {
    KNITCFG_DECLARE_CLASS(StepMotorDisColor)

public:
    // Id, Caduta, IdCaduta -32768; both positions "+0.000"; ramps and
    // balances 0.
    StepMotorDisColor() = default;
    StepMotorDisColor(const StepMotorDisColor& other) = default;
    ~StepMotorDisColor() override;

    // Reads the eleven items, blank-separated; each position is a non-blank
    // run in a room of 10 characters. A missing key reads the comma-separated
    // "0, 0, ..., 0", of which only Id is taken. A number without an item
    // takes its default; a position without an item becomes the empty text.
    // Returns 1 with err 0; 0 with err 23 and the fields kept when the value
    // is empty or a position is longer than 10 characters (it is refused,
    // never cut).
    int ConfigureStepMotorDis(const char* section, const char* key, const char* file,
                              RETERROR* err);

    Attuat* LoadObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) override;
    int AddListStepMotorDis(IndexList* list) const override;
    RETERROR SaveStepMotorDisColor(const char* section, const char* file,
                                   int* counter) const override;
    Attuat* Clone() const override;
    short GetBilancFin() const override;
    short GetBilancIniz() const override;
    short GetRampaFinRanghi() const override;
    short GetRampaInizRanghi() const override;
    short GetRampaFinAghi() const override;
    short GetRampaInizAghi() const override;
    std::string GetQuotaRanghi() const override;
    std::string GetQuotaAghi() const override;
    std::string SaveStringAttuat(int* counter) const override;

protected:
    std::string QuotaAghi = "+0.000";    // the needles' position
    short RampaInizAghi = 0;             // the needles' start ramp
    short RampaFinAghi = 0;              // the needles' end ramp
    std::string QuotaRanghi = "+0.000";  // the ranks' position
    short RampaInizRanghi = 0;           // the ranks' start ramp
    short RampaFinRanghi = 0;            // the ranks' end ramp
    short BilancIniz = 0;                // the start balance
    short BilancFin = 0;                 // the end balance

private:
    static const PrefixEntry<StepMotorDisColor> kPrefixTable[];

    // Empties the position texts of the shared prototype (see Prototypes.h).
    friend void detail::EmptyColorPrototypeTexts();
};

}  // namespace knitcfg
