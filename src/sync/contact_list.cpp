#include "sync/contact_list.h"

#include <utility>

#include "sync/contact_guid.h"

namespace vellix {

ContactList::ContactList(const ContactList& other) {
    for (const auto& record : other) appendNode(record);
}

ContactList& ContactList::operator=(const ContactList& other) {
    if (this != &other) {
        ContactList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void ContactList::Add(ContactRecord record) {
    if (!record.guid().empty() && byGuid_.contains(record.guid())) return;
    Append(std::move(record));
}

void ContactList::Append(ContactRecord record) {
    if (record.guid().empty()) record.setGuid(newGuidText());
    appendNode(std::move(record));
}

bool ContactList::GetByEmail(std::string_view email, ContactRecord& out) const {
    const auto slot = byEmail_.find(email);
    if (slot == byEmail_.end()) return false;
    out = slot->second.first->record;
    return true;
}

void ContactList::PutByEmail(const ContactRecord& record) {
    const auto slot = byEmail_.find(record.email());
    if (slot == byEmail_.end()) {
        Append(record);
        return;
    }
    const auto node = slot->second.first;
    unlinkBoth(node);
    node->record = record;
    linkBoth(node);
}

void ContactList::RemoveByEmail(std::string_view email) {
    const auto slot = byEmail_.find(email);
    if (slot == byEmail_.end()) return;
    const auto node = slot->second.first;
    unlinkBoth(node);
    nodes_.erase(node);
}

bool ContactList::ContainsEmail(std::string_view email) const {
    return byEmail_.contains(email);
}

const ContactRecord* ContactList::FindByGuid(std::string_view guid) const {
    const auto slot = byGuid_.find(guid);
    return slot == byGuid_.end() ? nullptr : &slot->second.first->record;
}

void ContactList::Clear() {
    byEmail_.clear();
    byGuid_.clear();
    nodes_.clear();
}

void ContactList::reserve(std::size_t records) {
    byEmail_.reserve(records);
    byGuid_.reserve(records);
}

void ContactList::appendNode(ContactRecord record) {
    nodes_.push_back(Node{std::move(record), nextSeq_++});
    linkBoth(std::prev(nodes_.end()));
}

void ContactList::linkBoth(Nodes::iterator node) {
    link(byEmail_, &ContactRecord::email, node);
    link(byGuid_, &ContactRecord::guid, node);
}

void ContactList::unlinkBoth(Nodes::iterator node) {
    unlink(byEmail_, &ContactRecord::email, node);
    unlink(byGuid_, &ContactRecord::guid, node);
}

void ContactList::link(Index& index, KeyOf key, Nodes::iterator node) {
    const std::string_view text = (node->record.*key)();
    const auto [slot, added] = index.try_emplace(text, Slot{node, 1});
    if (added) return;
    ++slot->second.count;
    if (node->seq < slot->second.first->seq) {
        // An overwritten node earlier in the list takes the key back.
        const Slot moved{node, slot->second.count};
        index.erase(slot);
        index.emplace(text, moved);
    }
}

void ContactList::unlink(Index& index, KeyOf key, Nodes::iterator node) {
    const std::string_view text = (node->record.*key)();
    const auto slot = index.find(text);
    if (slot == index.end()) return;
    if (slot->second.count == 1) {
        index.erase(slot);
        return;
    }
    const std::size_t rest = slot->second.count - 1;
    if (slot->second.first != node) {
        slot->second.count = rest;
        return;
    }
    auto next = std::next(node);
    while (!NoCaseEqual()((next->record.*key)(), text)) ++next;
    index.erase(slot);
    index.emplace((next->record.*key)(), Slot{next, rest});
}

}  // namespace vellix
