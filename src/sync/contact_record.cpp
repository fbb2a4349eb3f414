#include "sync/contact_record.h"

#include <array>
#include <utility>

namespace vellix {
namespace {

using R = ContactRecord;
constexpr std::array<std::string R::*, R::kFieldCount> kIndexed = {
    &R::fullName,      &R::firstName,     &R::middleName,     &R::lastName,     &R::homeAddress,
    &R::homeCity,      &R::homeState,     &R::homeZipcode,    &R::homeCountry,  &R::homePhone,
    &R::homeFax,       &R::homeMobile,    &R::homeWebAddress, &R::busCompany,   &R::busAddress,
    &R::busCity,       &R::busState,      &R::busZipCode,     &R::busCountry,   &R::busTitle,
    &R::busDepartment, &R::busOffice,     &R::busPhone,       &R::busFax,       &R::busPager,
    &R::busIPPhone,    &R::busWebAddress, &R::busManager,     &R::busAssistant, &R::comment,
    &R::email2,        &R::email3,        &R::IMAddress,      &R::categories,   &R::nickName,
    &R::spouse,
};

}  // namespace

std::string ContactRecord::*contactFieldMember(int index) {
    if (index < 0 || index >= R::kFieldCount) return nullptr;
    return kIndexed[static_cast<std::size_t>(index)];
}

std::string ContactRecord::GetField(int index) const {
    auto member = contactFieldMember(index);
    return member ? this->*member : std::string();
}

void ContactRecord::SetField(int index, std::string value) {
    if (auto member = contactFieldMember(index)) this->*member = std::move(value);
}

}  // namespace vellix
