#include <string>

#include "sync/contact_xml.h"

namespace vellix {
namespace {

using R = ContactRecord;

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
    appendLine(out, {}, "guid", group.guid);
    appendLine(out, {}, "fullName", group.fullName);
    appendLine(out, {}, "comment", group.comment);
    for (const auto& member : group.members) {
        out += "  <contact>\r\n";
        appendLine(out, "  ", "guid", member.guid);
        appendLine(out, "  ", "email", member.email);
        appendLine(out, "  ", "fullName", member.fullName);
        out += "  </contact>\r\n";
    }
    out += "</group>\r\n";
}

}  // namespace

const std::array<ContactXmlField, 41> kContactXmlFields = {{
    {"guid", &R::guid},
    {"email", &R::email},
    {"email2", &R::email2},
    {"email3", &R::email3},
    {"firstName", &R::firstName},
    {"middleName", &R::middleName},
    {"lastName", &R::lastName},
    {"fullName", &R::fullName},
    {"categories", &R::categories},
    {"comment", &R::comment},
    {"IMAddress", &R::IMAddress},
    {"nickName", &R::nickName},
    {"spouse", &R::spouse},
    {"homeAddress", &R::homeAddress},
    {"homeCity", &R::homeCity},
    {"homeState", &R::homeState},
    {"homeZipcode", &R::homeZipcode},
    {"homeCountry", &R::homeCountry},
    {"homePhone", &R::homePhone},
    {"homeFax", &R::homeFax},
    {"homeMobile", &R::homeMobile},
    {"homeWebAddress", &R::homeWebAddress},
    {"busCompany", &R::busCompany},
    {"busAddress", &R::busAddress},
    {"busCity", &R::busCity},
    {"busState", &R::busState},
    {"busZipCode", &R::busZipCode},
    {"busCountry", &R::busCountry},
    {"busTitle", &R::busTitle},
    {"busDepartment", &R::busDepartment},
    {"busOffice", &R::busOffice},
    {"busPhone", &R::busPhone},
    {"busFax", &R::busFax},
    {"busIPPhone", &R::busIPPhone},
    {"busWebAddress", &R::busWebAddress},
    {"busPager", &R::busPager},
    {"busAssistant", &R::busAssistant},
    {"busManager", &R::busManager},
    {"modified", &R::modified},
    {"TNEF", &R::TNEF},
    {"imapUID", nullptr},
}};

void appendContactXml(const ContactRecord& record, std::string& out) {
    if (record.isGroup) {
        appendGroup(record, out);
        return;
    }
    out += "<contact>\r\n";
    for (const auto& field : kContactXmlFields) {
        if (field.member) {
            appendLine(out, {}, field.tag, record.*field.member);
        } else if (record.imapUID != 0) {
            appendLine(out, {}, field.tag, std::to_string(record.imapUID));
        }
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
