#include "sync/vcard_codec.h"

#include <array>
#include <vector>

#include "core/ascii_case.h"

namespace vellix {
namespace {

using T = ContactText;

// Compound values (N, ADR, ORG) and their parts.
constexpr std::array<T, 5> kHomeAddress = {T::homeAddress, T::homeCity, T::homeState,
                                           T::homeZipcode, T::homeCountry};
constexpr std::array<T, 5> kBusAddress = {T::busAddress, T::busCity, T::busState, T::busZipCode,
                                          T::busCountry};

// Single-valued properties that carry one field as they are.
struct Plain {
    std::string_view name;
    T field;
};
constexpr std::array<Plain, 9> kPlain = {{{"FN", T::fullName},
                                          {"TITLE", T::busTitle},
                                          {"NOTE", T::comment},
                                          {"CATEGORIES", T::categories},
                                          {"NICKNAME", T::nickName},
                                          {"X-SPOUSE", T::spouse},
                                          {"X-ASSISTANT", T::busAssistant},
                                          {"X-MANAGER", T::busManager},
                                          {"X-OFFICE", T::busOffice}}};

// Telephone and web kinds, by the TYPE words that select them (first match wins).
struct Typed {
    std::string_view name;
    std::string_view types;  // the words written; all must be present when reading
    T field;
};
constexpr std::array<Typed, 9> kTyped = {{{"TEL", "work,fax", T::busFax},
                                          {"TEL", "home,fax", T::homeFax},
                                          {"TEL", "pager", T::busPager},
                                          {"TEL", "cell", T::homeMobile},
                                          {"TEL", "x-ip", T::busIPPhone},
                                          {"TEL", "work", T::busPhone},
                                          {"TEL", "home", T::homePhone},
                                          {"URL", "work", T::busWebAddress},
                                          {"URL", "home", T::homeWebAddress}}};

std::string escape(std::string_view value, bool keepCommas = false) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r') {
            out += "\\n";
            if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\' || (c == ',' && !keepCommas) || c == ';') {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

// Splits at unescaped ';' and decodes each part; line breaks become CR LF.
std::vector<std::string> decodeParts(std::string_view value) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == ';') {
            parts.emplace_back();
        } else if (c == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            parts.back() +=
                (next == 'n' || next == 'N') ? std::string("\r\n") : std::string(1, next);
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// A value that is not a list: ';' stays a character.
std::string decodeText(std::string_view value) {
    const auto parts = decodeParts(value);
    std::string out = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) out += ";" + parts[i];
    return out;
}

std::string unfold(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n' && i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t')) {
            ++i;  // the folding blank
            continue;
        }
        out += text[i];
    }
    return out;
}

struct Property {
    std::string name;                // upper case, group prefix removed
    std::vector<std::string> types;  // lower case
    std::string_view value;
};

Property parseProperty(std::string_view line) {
    Property p;
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos) return p;
    p.value = line.substr(colon + 1);
    std::string head = asciiLowerCopy(line.substr(0, colon));
    std::size_t start = 0;
    for (std::size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] != ';') continue;
        const std::string_view piece = std::string_view(head).substr(start, i - start);
        if (start == 0) {
            const std::size_t dot = piece.rfind('.');
            for (char c : dot == std::string_view::npos ? piece : piece.substr(dot + 1)) {
                p.name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            }
        } else {
            // TYPE=a,b or a bare word (older cards).
            std::string_view words = piece.starts_with("type=") ? piece.substr(5) : piece;
            while (!words.empty()) {
                const std::size_t comma = words.find(',');
                std::string word(words.substr(0, comma));
                std::erase(word, '"');
                p.types.push_back(word);
                words =
                    comma == std::string_view::npos ? std::string_view() : words.substr(comma + 1);
            }
        }
        start = i + 1;
    }
    return p;
}

bool hasTypes(const Property& p, std::string_view words) {
    while (!words.empty()) {
        const std::size_t comma = words.find(',');
        const std::string_view word = words.substr(0, comma);
        bool found = false;
        for (const auto& t : p.types) found = found || t == word;
        if (!found) return false;
        words = comma == std::string_view::npos ? std::string_view() : words.substr(comma + 1);
    }
    return true;
}

void appendFolded(std::string& out, std::string_view line) {
    std::size_t room = 75;
    while (line.size() > room) {
        std::size_t cut = room;
        // Never inside a UTF-8 character.
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        room = 74;  // the leading blank counts
    }
    out.append(line);
    out += "\r\n";
}

}  // namespace

VcardContact parseVcard(std::string_view text) {
    VcardContact card;
    ContactTexts texts{};
    std::vector<std::string> storage;  // decoded values the texts view
    storage.reserve(64);
    auto keep = [&](T field, std::string value) {
        auto& slot = texts[static_cast<std::size_t>(field)];
        if (!slot.empty() || value.empty() || storage.size() == storage.capacity()) return;
        storage.push_back(std::move(value));
        slot = storage.back();
    };
    const std::string unfolded = unfold(text);
    std::string_view rest = unfolded;
    bool inCard = false;
    int emails = 0;
    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        const std::string_view line = rest.substr(0, lf);
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
        const Property p = parseProperty(line);
        if (p.name == "BEGIN") inCard = true;
        if (!inCard) continue;
        if (p.name == "END") break;
        std::vector<std::string> parts = decodeParts(p.value);
        parts.resize(7);
        if (p.name == "UID") {
            card.uid = std::string(p.value);
        } else if (p.name == "N") {
            keep(T::lastName, parts[0]);
            keep(T::firstName, parts[1]);
            keep(T::middleName, parts[2]);
        } else if (p.name == "EMAIL" && emails < 3) {
            const T slots[] = {T::email, T::email2, T::email3};
            keep(slots[emails++], parts[0]);
        } else if (p.name == "ORG") {
            keep(T::busCompany, parts[0]);
            keep(T::busDepartment, parts[1]);
        } else if (p.name == "ADR") {
            const auto& fields = hasTypes(p, "work") ? kBusAddress : kHomeAddress;
            for (std::size_t i = 0; i < fields.size(); ++i) keep(fields[i], parts[i + 2]);
        } else {
            for (const auto& plain : kPlain) {
                if (p.name == plain.name) keep(plain.field, decodeText(p.value));
            }
            for (const auto& typed : kTyped) {
                if (p.name == typed.name && hasTypes(p, typed.types)) {
                    keep(typed.field, parts[0]);
                    break;
                }
            }
        }
    }
    card.record.setTexts(texts);
    return card;
}

std::string keepUnknownProperties(std::string_view old, std::string fresh) {
    static constexpr std::string_view kKnown[] = {
        "BEGIN",    "END",      "VERSION",     "UID",       "FN",      "N",   "EMAIL",
        "ORG",      "TITLE",    "NOTE",        "ADR",       "TEL",     "URL", "CATEGORIES",
        "NICKNAME", "X-SPOUSE", "X-ASSISTANT", "X-MANAGER", "X-OFFICE"};
    std::string kept;
    bool keeping = false;
    for (std::string_view rest = old; !rest.empty();) {
        const std::size_t lf = rest.find('\n');
        const std::string_view line =
            rest.substr(0, lf == std::string_view::npos ? rest.size() : lf + 1);
        rest.remove_prefix(line.size());
        if (line.starts_with(' ') || line.starts_with('\t')) {
            if (keeping) kept += line;  // continuation of a kept property
            continue;
        }
        const std::string name = parseProperty(line).name;
        keeping = !name.empty();
        for (const auto known : kKnown) keeping = keeping && name != known;
        if (keeping) kept += line;
    }
    if (kept.empty()) return fresh;
    if (!kept.ends_with('\n')) kept += "\r\n";
    fresh.insert(fresh.rfind("END:VCARD"), kept);
    return fresh;
}

std::string writeVcard(const ContactRecord& r, std::string_view uid, std::string_view sortAs) {
    std::string out = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    auto line = [&](std::string_view head, std::string value) {
        appendFolded(out, std::string(head) + ":" + value);
    };
    if (!uid.empty()) line("UID", escape(uid));
    line("FN", escape(r.fullName()));
    line(sortAs.empty() ? "N" : "N;SORT-AS=\"" + escape(sortAs) + "\"",
         escape(r.lastName()) + ";" + escape(r.firstName()) + ";" + escape(r.middleName()) + ";;");
    const T emails[] = {T::email, T::email2, T::email3};
    for (const T e : emails) {
        if (!r.text(e).empty()) line("EMAIL;TYPE=internet", escape(r.text(e)));
    }
    if (!r.busCompany().empty() || !r.busDepartment().empty()) {
        line("ORG", escape(r.busCompany()) + ";" + escape(r.busDepartment()));
    }
    for (const auto* fields : {&kHomeAddress, &kBusAddress}) {
        std::string value = ";;";
        bool any = false;
        for (std::size_t i = 0; i < fields->size(); ++i) {
            value += (i ? ";" : "") + escape(r.text((*fields)[i]));
            any = any || !r.text((*fields)[i]).empty();
        }
        if (any) line(fields == &kHomeAddress ? "ADR;TYPE=home" : "ADR;TYPE=work", value);
    }
    for (const auto& plain : kPlain) {
        if (plain.field != T::fullName && !r.text(plain.field).empty()) {
            // CATEGORIES is a list: its commas separate, so they stay as they are.
            line(plain.name, escape(r.text(plain.field), plain.field == T::categories));
        }
    }
    for (const auto& typed : kTyped) {
        if (!r.text(typed.field).empty()) {
            line(std::string(typed.name) + ";TYPE=" + std::string(typed.types),
                 escape(r.text(typed.field)));
        }
    }
    out += "END:VCARD\r\n";
    return out;
}

}  // namespace vellix
