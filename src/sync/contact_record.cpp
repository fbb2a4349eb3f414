#include "sync/contact_record.h"

#include <bit>
#include <cstring>
#include <utility>

namespace vellix {
namespace {

using T = ContactText;
constexpr std::array<T, ContactRecord::kFieldCount> kIndexed = {
    T::fullName,      T::firstName,     T::middleName,     T::lastName,     T::homeAddress,
    T::homeCity,      T::homeState,     T::homeZipcode,    T::homeCountry,  T::homePhone,
    T::homeFax,       T::homeMobile,    T::homeWebAddress, T::busCompany,   T::busAddress,
    T::busCity,       T::busState,      T::busZipCode,     T::busCountry,   T::busTitle,
    T::busDepartment, T::busOffice,     T::busPhone,       T::busFax,       T::busPager,
    T::busIPPhone,    T::busWebAddress, T::busManager,     T::busAssistant, T::comment,
    T::email2,        T::email3,        T::IMAddress,      T::categories,   T::nickName,
    T::spouse,
};

constexpr std::size_t kMaskBytes = sizeof(std::uint64_t);

std::uint64_t maskOf(const char* block) {
    std::uint64_t mask = 0;
    if (block) std::memcpy(&mask, block, kMaskBytes);
    return mask;
}

std::uint32_t endAt(const char* block, int slot) {
    std::uint32_t end = 0;
    std::memcpy(&end, block + kMaskBytes + sizeof(std::uint32_t) * static_cast<std::size_t>(slot),
                sizeof end);
    return end;
}

std::size_t blockSize(const char* block) {
    const std::uint64_t mask = maskOf(block);
    if (mask == 0) return 0;
    const int count = std::popcount(mask);
    return kMaskBytes + sizeof(std::uint32_t) * static_cast<std::size_t>(count) +
           endAt(block, count - 1);
}

std::unique_ptr<char[]> copyBlock(const char* block) {
    const std::size_t size = blockSize(block);
    if (size == 0) return nullptr;
    auto copy = std::make_unique_for_overwrite<char[]>(size);
    std::memcpy(copy.get(), block, size);
    return copy;
}

}  // namespace

std::optional<ContactText> contactFieldText(int index) {
    if (index < 0 || index >= ContactRecord::kFieldCount) return std::nullopt;
    return kIndexed[static_cast<std::size_t>(index)];
}

ContactRecord::ContactRecord(const ContactRecord& other)
    : imapUID(other.imapUID),
      isGroup(other.isGroup),
      members(other.members),
      block_(copyBlock(other.block_.get())) {
}

ContactRecord& ContactRecord::operator=(const ContactRecord& other) {
    if (this != &other) {
        imapUID = other.imapUID;
        isGroup = other.isGroup;
        members = other.members;
        block_ = copyBlock(other.block_.get());
    }
    return *this;
}

std::string_view ContactRecord::text(ContactText field) const {
    const std::uint64_t mask = maskOf(block_.get());
    const std::uint64_t bit = std::uint64_t{1} << static_cast<unsigned>(field);
    if ((mask & bit) == 0) return {};
    const int slot = std::popcount(mask & (bit - 1));
    const int count = std::popcount(mask);
    const char* data =
        block_.get() + kMaskBytes + sizeof(std::uint32_t) * static_cast<std::size_t>(count);
    const std::uint32_t begin = slot == 0 ? 0 : endAt(block_.get(), slot - 1);
    return {data + begin, endAt(block_.get(), slot) - begin};
}

ContactTexts ContactRecord::texts() const {
    ContactTexts values{};
    for (std::size_t i = 0; i < kContactTextCount; ++i)
        values[i] = text(static_cast<ContactText>(i));
    return values;
}

void ContactRecord::setTexts(const ContactTexts& values) {
    std::uint64_t mask = 0;
    std::size_t bytes = 0;
    int count = 0;
    for (std::size_t i = 0; i < kContactTextCount; ++i) {
        if (values[i].empty()) continue;
        mask |= std::uint64_t{1} << i;
        bytes += values[i].size();
        ++count;
    }
    if (mask == 0) {
        block_.reset();
        return;
    }
    const std::size_t header = kMaskBytes + sizeof(std::uint32_t) * static_cast<std::size_t>(count);
    auto block = std::make_unique_for_overwrite<char[]>(header + bytes);
    std::memcpy(block.get(), &mask, kMaskBytes);
    char* end = block.get() + kMaskBytes;
    char* data = block.get() + header;
    std::uint32_t offset = 0;
    for (const auto value : values) {
        if (value.empty()) continue;
        std::memcpy(data + offset, value.data(), value.size());
        offset += static_cast<std::uint32_t>(value.size());
        std::memcpy(end, &offset, sizeof offset);
        end += sizeof offset;
    }
    block_ = std::move(block);  // values may point into the old block until here
}

void ContactRecord::setText(ContactText field, std::string_view value) {
    ContactTexts values = texts();
    values[static_cast<std::size_t>(field)] = value;
    setTexts(values);
}

std::string ContactRecord::GetField(int index) const {
    const auto field = contactFieldText(index);
    return field ? std::string(text(*field)) : std::string();
}

void ContactRecord::SetField(int index, std::string value) {
    if (const auto field = contactFieldText(index)) setText(*field, value);
}

bool ContactRecord::operator==(const ContactRecord& other) const {
    // Blocks are canonical: equal texts give equal bytes.
    const std::size_t size = blockSize(block_.get());
    return imapUID == other.imapUID && isGroup == other.isGroup && members == other.members &&
           size == blockSize(other.block_.get()) &&
           (size == 0 || std::memcmp(block_.get(), other.block_.get(), size) == 0);
}

}  // namespace vellix
