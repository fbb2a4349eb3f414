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
    if (!record.guid.empty() && firstIn(byGuid_, record.guid)) return;
    Append(std::move(record));
}

void ContactList::Append(ContactRecord record) {
    if (record.guid.empty()) record.guid = newGuidText();
    appendNode(std::move(record));
}

bool ContactList::GetByEmail(std::string_view email, ContactRecord& out) const {
    const auto* node = firstIn(byEmail_, email);
    if (!node) return false;
    out = (*node)->record;
    return true;
}

void ContactList::PutByEmail(const ContactRecord& record) {
    const auto* found = firstIn(byEmail_, record.email);
    if (!found) {
        Append(record);
        return;
    }
    const auto node = *found;
    unlink(byEmail_, node->record.email, node);
    unlink(byGuid_, node->record.guid, node);
    node->record = record;
    link(byEmail_, node->record.email, node);
    link(byGuid_, node->record.guid, node);
}

void ContactList::RemoveByEmail(std::string_view email) {
    const auto* found = firstIn(byEmail_, email);
    if (!found) return;
    const auto node = *found;
    unlink(byEmail_, node->record.email, node);
    unlink(byGuid_, node->record.guid, node);
    nodes_.erase(node);
}

bool ContactList::ContainsEmail(std::string_view email) const {
    return firstIn(byEmail_, email) != nullptr;
}

const ContactRecord* ContactList::FindByGuid(std::string_view guid) const {
    const auto* node = firstIn(byGuid_, guid);
    return node ? &(*node)->record : nullptr;
}

void ContactList::Clear() {
    byEmail_.clear();
    byGuid_.clear();
    nodes_.clear();
}

void ContactList::appendNode(ContactRecord record) {
    nodes_.push_back(Node{std::move(record), nextSeq_++});
    auto node = std::prev(nodes_.end());
    link(byEmail_, node->record.email, node);
    link(byGuid_, node->record.guid, node);
}

const ContactList::Nodes::iterator* ContactList::firstIn(const Index& index, std::string_view key) {
    auto bucket = index.find(key);
    if (bucket == index.end()) return nullptr;
    return &bucket->second.begin()->second;
}

void ContactList::link(Index& index, std::string_view key, Nodes::iterator node) {
    auto bucket = index.find(key);
    if (bucket == index.end()) bucket = index.emplace(std::string(key), Bucket()).first;
    bucket->second.emplace(node->seq, node);
}

void ContactList::unlink(Index& index, std::string_view key, Nodes::iterator node) {
    auto bucket = index.find(key);
    if (bucket == index.end()) return;
    bucket->second.erase(node->seq);
    if (bucket->second.empty()) index.erase(bucket);
}

}  // namespace vellix
