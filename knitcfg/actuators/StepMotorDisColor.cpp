#include "knitcfg/actuators/StepMotorDisColor.h"

#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/actuators/detail/Kinds.h"

namespace knitcfg {

namespace {

using entry::Item;
using entry::Items;

using detail::kStepMotorDisColor;

}  // namespace

KNITCFG_IMPLEMENT_CLASS(StepMotorDisColor, Attuat)

const Attuat::PrefixEntry<StepMotorDisColor> StepMotorDisColor::kPrefixTable[] = {
    {kStepMotorDisColor.prefix, &StepMotorDisColor::ConfigureStepMotorDis}, {nullptr, nullptr}};

StepMotorDisColor::~StepMotorDisColor() = default;

int StepMotorDisColor::ConfigureStepMotorDis(const char* section, const char* key, const char* file,
                                             RETERROR* err) {
    entry::ScanResult scratch;
    const entry::Items* read =
        detail::ReadEntry(kStepMotorDisColor, section, key, file, err, &scratch);
    if (read == nullptr) {
        return 0;
    }
    const entry::Items& items = *read;
    detail::AssignCommon(*this, items);
    QuotaAghi = detail::ItemText(items, 3);
    RampaInizAghi = detail::ItemShort(items, 4, 0);
    RampaFinAghi = detail::ItemShort(items, 5, 0);
    QuotaRanghi = detail::ItemText(items, 6);
    RampaInizRanghi = detail::ItemShort(items, 7, 0);
    RampaFinRanghi = detail::ItemShort(items, 8, 0);
    BilancIniz = detail::ItemShort(items, 9, 0);
    BilancFin = detail::ItemShort(items, 10, 0);
    detail::SetErr(err, RE_SUCCESS);
    return 1;
}

Attuat* StepMotorDisColor::LoadObj(const char* section, const char* key, const char* file,
                                   RETERROR* err) {
    return detail::LoadThroughUpdate(*this, kStepMotorDisColor, section, key, file, err);
}

int StepMotorDisColor::UpdateObj(const char* section, const char* key, const char* file,
                                 RETERROR* err) {
    return detail::UpdateThroughTable(*this, kPrefixTable, section, key, file, err);
}

int StepMotorDisColor::AddListStepMotorDis(IndexList* list) const {
    return detail::AddIdOnce(Id, list);
}

namespace {

// The eleven items in entry order, read through the class's own getters.
Items DesignItems(const StepMotorDisColor& actuator) {
    Items items = detail::CommonItems(actuator);
    items.push_back(Item::Text(actuator.GetQuotaAghi()));
    items.push_back(Item::Number(actuator.GetRampaInizAghi()));
    items.push_back(Item::Number(actuator.GetRampaFinAghi()));
    items.push_back(Item::Text(actuator.GetQuotaRanghi()));
    items.push_back(Item::Number(actuator.GetRampaInizRanghi()));
    items.push_back(Item::Number(actuator.GetRampaFinRanghi()));
    items.push_back(Item::Number(actuator.GetBilancIniz()));
    items.push_back(Item::Number(actuator.GetBilancFin()));
    return items;
}

}  // namespace

RETERROR StepMotorDisColor::SaveStepMotorDisColor(const char* section, const char* file,
                                                  int* counter) const {
    return detail::WriteEntry(kStepMotorDisColor, section, file, counter, DesignItems(*this));
}

Attuat* StepMotorDisColor::Clone() const {
    return new StepMotorDisColor(*this);
}

short StepMotorDisColor::GetBilancFin() const {
    return BilancFin;
}
short StepMotorDisColor::GetBilancIniz() const {
    return BilancIniz;
}
short StepMotorDisColor::GetRampaFinRanghi() const {
    return RampaFinRanghi;
}
short StepMotorDisColor::GetRampaInizRanghi() const {
    return RampaInizRanghi;
}
short StepMotorDisColor::GetRampaFinAghi() const {
    return RampaFinAghi;
}
short StepMotorDisColor::GetRampaInizAghi() const {
    return RampaInizAghi;
}
std::string StepMotorDisColor::GetQuotaRanghi() const {
    return QuotaRanghi;
}
std::string StepMotorDisColor::GetQuotaAghi() const {
    return QuotaAghi;
}

std::string StepMotorDisColor::SaveStringAttuat(int* counter) const {
    return detail::EntryText(kStepMotorDisColor, counter, DesignItems(*this));
}

}  // namespace knitcfg
