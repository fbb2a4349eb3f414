#include <string>

#include "sync/contact_xml.h"

namespace vellix {
namespace {

void appendLine(std::string& out, std::string_view indent, std::string_view tag,
                std::string_view value) {
    if (value.empty()) return;
    out += indent;
    out += '<';
    out += tag;
    out += "><![CDATA[";
    out += value;  // written as held: the format has no escaping
    out += "]]></";
    out += tag;
    out += ">\r\n";
}

void appendGroup(const ContactRecord& group, std::string& out) {
    out += "<group>\r\n";
    appendLine(out, {}, "guid", group.guid());
    appendLine(out, {}, "fullName", group.fullName());
    appendLine(out, {}, "comment", group.comment());
    for (const auto& member : group.members) {
        out += "  <contact>\r\n";
        appendLine(out, "  ", "guid", member.guid());
        appendLine(out, "  ", "email", member.email());
        appendLine(out, "  ", "fullName", member.fullName());
        out += "  </contact>\r\n";
    }
    out += "</group>\r\n";
}

}  // namespace

const std::array<std::string_view, 41> kContactXmlTags = {
#define VELLIX_TAG(name, Name) #name,
    VELLIX_CONTACT_TEXTS(VELLIX_TAG)
#undef VELLIX_TAG
        "imapUID",
};

void appendContactXml(const ContactRecord& record, std::string& out) {
    if (record.isGroup) {
        appendGroup(record, out);
        return;
    }
    out += "<contact>\r\n";
    for (std::size_t i = 0; i < kContactTextCount; ++i) {
        appendLine(out, {}, kContactXmlTags[i], record.text(static_cast<ContactText>(i)));
    }
    if (record.imapUID != 0) {
        appendLine(out, {}, kContactXmlTags[kImapUidTag], std::to_string(record.imapUID));
    }
    out += "</contact>\r\n";
}

std::string contactXmlText(const ContactList& list) {
    std::string out(kContactXmlHeader);
    for (const auto& record : list) appendContactXml(record, out);
    out += kContactXmlTrailer;
    return out;
}

}  // namespace vellix
