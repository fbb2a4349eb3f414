#pragma once
// An ordered list of contacts that finds them by email or guid (ASCII case-insensitive,
// first match in list order) without scanning: runs over many contacts stay linear.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/ascii_case.h"
#include "sync/contact_record.h"

namespace vellix {

class ContactList {
    struct Node {
        ContactRecord record;
        std::uint64_t seq;  // grows with insertion, so it orders the list
    };
    using Nodes = std::list<Node>;

  public:
    class const_iterator {
      public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = ContactRecord;
        using difference_type = std::ptrdiff_t;
        using pointer = const ContactRecord*;
        using reference = const ContactRecord&;

        const_iterator() = default;
        reference operator*() const { return it_->record; }
        pointer operator->() const { return &it_->record; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        const_iterator operator++(int) { return const_iterator(it_++); }
        const_iterator& operator--() {
            --it_;
            return *this;
        }
        const_iterator operator--(int) { return const_iterator(it_--); }
        bool operator==(const const_iterator&) const = default;

      private:
        friend class ContactList;
        explicit const_iterator(Nodes::const_iterator it) : it_(it) {}
        Nodes::const_iterator it_;
    };

    ContactList() = default;
    ContactList(const ContactList& other);
    ContactList& operator=(const ContactList& other);
    ContactList(ContactList&&) noexcept = default;
    ContactList& operator=(ContactList&&) noexcept = default;
    ~ContactList() = default;

    // Appends unless a record with the same non-empty guid is already here; an empty guid
    // is replaced by a new one first.
    void Add(ContactRecord record);
    // As Add, without the duplicate-guid check.
    void Append(ContactRecord record);
    bool GetByEmail(std::string_view email, ContactRecord& out) const;
    // Overwrites the first record with this email as a whole, or appends.
    void PutByEmail(const ContactRecord& record);
    void RemoveByEmail(std::string_view email);
    bool ContainsEmail(std::string_view email) const;
    const ContactRecord* FindByGuid(std::string_view guid) const;
    void Clear();
    // Room in the indexes for this many records in all, so a large read does not rehash.
    void reserve(std::size_t records);

    // The address-book XML file; writing replaces the file atomically, reading adds.
    bool WriteXml(const std::string& fileName) const;
    bool ReadXml(const std::string& fileName);

    std::size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }
    const_iterator begin() const { return const_iterator(nodes_.begin()); }
    const_iterator end() const { return const_iterator(nodes_.end()); }

  private:
    // The first node under a key and how many nodes share it; the key views the first
    // node's own text, so an entry costs no copy of the email or guid.
    struct Slot {
        Nodes::iterator first;
        std::size_t count;
    };
    using Index = std::unordered_map<std::string_view, Slot, NoCaseHash, NoCaseEqual>;
    using KeyOf = std::string_view (ContactRecord::*)() const;

    void appendNode(ContactRecord record);
    void linkBoth(Nodes::iterator node);
    void unlinkBoth(Nodes::iterator node);
    static void link(Index& index, KeyOf key, Nodes::iterator node);
    // A key shared by several nodes passes to the next one in list order (rare: found by
    // walking the list).
    void unlink(Index& index, KeyOf key, Nodes::iterator node);

    Nodes nodes_;
    Index byEmail_;
    Index byGuid_;
    std::uint64_t nextSeq_ = 0;
};

}  // namespace vellix
