#include "knitcfg/actuators/Attuat.h"

#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(Attuat, AttuatBase)

Attuat::~Attuat() = default;

Attuat* Attuat::LoadObj(const char* /*section*/, const char* /*key*/, const char* /*file*/,
                        RETERROR* err) {
    if (err != nullptr) {
        *err = RE_WRONG_KIND;
    }
    return nullptr;
}

int Attuat::AlreadyInList(const char* section, const char* key, const char* file) const {
    if (section == nullptr || key == nullptr || file == nullptr) {
        return 0;
    }
    char buffer[detail::kIdReadRoom];
    if (profile::GetString(section, key, "0", buffer, sizeof buffer, file) == 0) {
        return 0;
    }
    std::int32_t first = 0;
    // The whole 32-bit number is compared with the widened Id: 65539 is not 3.
    return entry::ScanInt(buffer, &first) && first == static_cast<int>(Id) ? 1 : 0;
}

int Attuat::UpdateObj(const char* /*section*/, const char* /*key*/, const char* /*file*/,
                      RETERROR* /*err*/) {
    return 0;
}

int Attuat::AddListDrum(IndexList* /*list*/) const {
    return 1;
}
int Attuat::AddListFinger(IndexList* /*list*/) const {
    return 1;
}
int Attuat::AddListSplitter(IndexList* /*list*/) const {
    return 1;
}
int Attuat::AddListTriangle(IndexList* /*list*/) const {
    return 1;
}
int Attuat::AddListStepMotor(IndexList* /*list*/) const {
    return 1;
}
int Attuat::AddListStepMotorDis(IndexList* /*list*/) const {
    return 1;
}
int Attuat::AddListSpeeder(IndexList* /*list*/) const {
    return 1;
}

RETERROR Attuat::SaveDrumColor(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveFingerColor(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveSplitterColor(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveTriangleColor(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveStepMotorColor(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveStepMotorDisColor(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveSpeederColor(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveDrumLine(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveFingerLine(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveSplitterLine(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveTriangleLine(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveStepMotorLine(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveStepMotorDisLine(const char*, const char*, int*) const {
    return RE_SUCCESS;
}
RETERROR Attuat::SaveSpeederLine(const char*, const char*, int*) const {
    return RE_SUCCESS;
}

Attuat* Attuat::Clone() const {
    return new Attuat(*this);
}

short Attuat::GetStato() const {
    return kNoValue;
}
void Attuat::SetStato(short /*stato*/) {}

int Attuat::GetQuota() const {
    return kNoQuota;
}
void Attuat::SetQuota(int /*quota*/) {}

std::string Attuat::GetVelocita() const {
    return std::string();
}
void Attuat::SetVelocita(const char* /*velocita*/) {}

short Attuat::GetBilancFin() const {
    return -1;
}
short Attuat::GetBilancIniz() const {
    return -1;
}
short Attuat::GetRampaFinRanghi() const {
    return -1;
}
short Attuat::GetRampaInizRanghi() const {
    return -1;
}
short Attuat::GetRampaFinAghi() const {
    return -1;
}
short Attuat::GetRampaInizAghi() const {
    return -1;
}

std::string Attuat::GetQuotaRanghi() const {
    return std::string();
}
std::string Attuat::GetQuotaAghi() const {
    return std::string();
}

std::string Attuat::SaveStringAttuat(int* /*counter*/) const {
    return std::string();
}

}  // namespace knitcfg
