#include <algorithm>
#include <utility>

#include "sync/contact_guid.h"
#include "sync/contact_xml.h"

namespace vellix {
namespace {

// Which element boundaries a line holds, found in one pass over its '<' characters
// rather than one substring search per marker.
struct Markers {
    bool group = false;
    bool contact = false;
    bool contactEnd = false;
    bool groupEnd = false;
};

Markers markersIn(std::string_view piece) {
    Markers found;
    for (std::size_t at = piece.find('<'); at != std::string_view::npos;
         at = piece.find('<', at + 1)) {
        const std::string_view rest = piece.substr(at + 1);
        if (rest.starts_with("contact>")) {
            found.contact = true;
        } else if (rest.starts_with("/contact>")) {
            found.contactEnd = true;
        } else if (rest.starts_with("group>")) {
            found.group = true;
        } else if (rest.starts_with("/group>")) {
            found.groupEnd = true;
        }
    }
    return found;
}

}  // namespace

void ContactXmlReader::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t room = kContactXmlPiece - carry_.size();
        std::size_t take = std::min(room, bytes.size());
        const std::size_t lf = bytes.substr(0, take).find('\n');
        if (lf != std::string_view::npos) take = lf + 1;
        const bool complete = lf != std::string_view::npos || take == room;
        if (carry_.empty() && complete) {
            line(bytes.substr(0, take));
        } else {
            carry_.append(bytes.substr(0, take));
            if (complete) {
                line(carry_);
                carry_.clear();
            }
        }
        bytes.remove_prefix(take);
    }
}

void ContactXmlReader::finish() {
    if (!carry_.empty()) {
        line(carry_);
        carry_.clear();
    }
    inGroup_ = false;
    inContact_ = false;
    groupText_.clear();
    contactText_.clear();
    members_.clear();
}

void ContactXmlReader::line(std::string_view piece) {
    const Markers markers = markersIn(piece);
    if (!inGroup_ && markers.group) {
        inGroup_ = true;
        groupText_.clear();
        members_.clear();
    }
    // The group text skips member lines, so the group's own tags are found in it.
    if (inGroup_ && !inContact_) groupText_ += piece;
    if (!inContact_ && markers.contact) {
        inContact_ = true;
        contactText_.clear();
    }
    if (inContact_) {
        contactText_ += piece;
        if (markers.contactEnd) {
            inContact_ = false;
            ContactRecord record = parseContactElement(contactText_);
            contactText_.clear();
            if (inGroup_) {
                if (record.guid().empty()) record.setGuid(newGuidText());
                members_.push_back(std::move(record));
            } else {
                list_.Add(std::move(record));
            }
        }
    }
    if (inGroup_ && markers.groupEnd) {
        inGroup_ = false;
        ContactRecord group = parseContactElement(groupText_);
        groupText_.clear();
        group.isGroup = true;
        group.members = std::move(members_);
        members_.clear();
        list_.Add(std::move(group));
    }
}

void readContactXmlText(std::string_view bytes, ContactList& list) {
    ContactXmlReader reader(list);
    reader.feed(bytes);
    reader.finish();
}

}  // namespace vellix
