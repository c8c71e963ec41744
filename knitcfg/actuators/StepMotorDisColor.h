#pragma once

#include <string>

#include "knitcfg/actuators/AttuatKind.h"
#include "knitcfg/common/Export.h"
#include "knitcfg/common/RetError.h"

namespace knitcfg {

namespace detail {
void EmptyColorPrototypeTexts();
}  // namespace detail

// A design stepping motor's setting for one color: a needles' position and a
// ranks' position, each with a start and an end ramp, and a start and an end
// balance. The two positions are texts, kept exactly as written and never
// converted. Entry "SteppingMotorDis_NNN=" followed by the eleven fields in
// declaration order separated by single blanks (docs/actuators.md). It has no
// state, position or speed, and no setters: its fields change only by
// configuring.
class KNITCFG_API StepMotorDisColor : public detail::AttuatKind<StepMotorDisColor> {
    KNITCFG_DECLARE_CLASS(StepMotorDisColor)
    friend AttuatKind;
    // Empties the position texts of the shared prototype.
    friend void detail::EmptyColorPrototypeTexts();

public:
    // Reads the eleven items, blank-separated; each position is a non-blank
    // run of at most 10 characters. A missing key reads the comma-separated
    // "0, 0, ..., 0", of which only Id is taken. A number without an item
    // takes its default; a position without an item becomes the empty text.
    // Returns 1 with err 0; 0 with err 23 and the fields kept when the value
    // is empty or a position is longer than 10 characters (refused, not cut).
    int ConfigureStepMotorDis(const char* section, const char* key, const char* file,
                              RETERROR* err) {
        return Configure(section, key, file, err);
    }

    short GetBilancFin() const override { return BilancFin; }
    short GetBilancIniz() const override { return BilancIniz; }
    short GetRampaFinRanghi() const override { return RampaFinRanghi; }
    short GetRampaInizRanghi() const override { return RampaInizRanghi; }
    short GetRampaFinAghi() const override { return RampaFinAghi; }
    short GetRampaInizAghi() const override { return RampaInizAghi; }
    std::string GetQuotaRanghi() const override { return QuotaRanghi; }
    std::string GetQuotaAghi() const override { return QuotaAghi; }

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
    template <class Self, class Visit>
    static void OwnFields(Self& self, Visit& visit) {
        visit(self.QuotaAghi);
        visit(self.RampaInizAghi, 0);
        visit(self.RampaFinAghi, 0);
        visit(self.QuotaRanghi);
        visit(self.RampaInizRanghi, 0);
        visit(self.RampaFinRanghi, 0);
        visit(self.BilancIniz, 0);
        visit(self.BilancFin, 0);
    }
};

}  // namespace knitcfg
