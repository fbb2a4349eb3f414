#include "seed.h"

#include <fstream>
#include <sstream>

#include "text_util.h"

namespace vellix::sim {
namespace {

std::string unescape_value(std::string_view v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const char n = v[++i];
            out.push_back(n == 'n' ? '\n' : n == 't' ? '\t' : n);
        } else {
            out.push_back(v[i]);
        }
    }
    return out;
}

bool parse_int(std::string_view text, int& out) {
    unsigned long long n = 0;
    if (!parse_uint(trim(text), n) || n > 1000000000ULL) return false;
    out = static_cast<int>(n);
    return true;
}

// "name:display:total:unread:new:recent"; counts may be left out.
bool parse_folder(std::string_view spec, MailFolder& folder) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t c = spec.find(':', start);
        parts.push_back(trim(spec.substr(start, c == std::string_view::npos ? c : c - start)));
        if (c == std::string_view::npos) break;
        start = c + 1;
    }
    if (parts.empty() || parts[0].empty() || parts.size() > 6) return false;
    folder.name = parts[0];
    folder.display = parts.size() > 1 && !parts[1].empty() ? parts[1] : parts[0];
    int* counts[] = {&folder.total, &folder.unread, &folder.fresh, &folder.recent};
    for (size_t i = 2; i < parts.size(); ++i) {
        if (!parse_int(parts[i], *counts[i - 2])) return false;
    }
    return true;
}

// "address|Display Name"
ContactEntry parse_pair(std::string_view spec) {
    const size_t bar = spec.find('|');
    ContactEntry e;
    e.email = trim(spec.substr(0, bar));
    e.full_name = bar == std::string_view::npos ? e.email : trim(spec.substr(bar + 1));
    return e;
}

std::string guid_for(std::string_view email) {
    // Stable per address so that a seeded list reads the same on every start.
    unsigned long long h1 = 1469598103934665603ULL;
    unsigned long long h2 = 1099511628211ULL;
    for (char c : email) {
        h1 = (h1 ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        h2 = (h2 + static_cast<unsigned char>(c)) * 6364136223846793005ULL + 1;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned long long h : {h1, h2}) {
        for (int i = 0; i < 16; ++i) out.push_back(kHex[(h >> (i * 4)) & 15]);
    }
    return out;
}

}  // namespace

const std::set<std::string>& known_flags() {
    static const std::set<std::string> flags = {"instantmessaging", "modifyglobalcontacts",
                                                "calendar", "groupwareenabled", "groupwareuser"};
    return flags;
}

SeedResult parse_seed(std::string_view text) {
    SeedResult result;
    SeedData& data = result.data;
    enum class Section { None, Server, Account, Public } section = Section::None;
    int line_no = 0;
    size_t pos = 0;
    const auto error = [&](const std::string& why) {
        result.error = "line " + std::to_string(line_no) + ": " + why;
        return result;
    };
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        const std::string line =
            trim(text.substr(pos, nl == std::string_view::npos ? nl : nl - pos));
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        ++line_no;
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return error("unclosed section header");
            const std::string name = trim(std::string_view(line).substr(1, line.size() - 2));
            if (iequals(name, "server")) {
                section = Section::Server;
            } else if (iequals(name, "public-contacts")) {
                section = Section::Public;
            } else if (istarts_with(name, "account ")) {
                AccountSeed account;
                account.address = trim(std::string_view(name).substr(8));
                if (account.address.empty()) return error("account without address");
                for (const auto& a : data.accounts) {
                    if (iequals(a.address, account.address)) return error("duplicate account");
                }
                account.name = account.address;
                data.accounts.push_back(std::move(account));
                section = Section::Account;
            } else {
                return error("unknown section [" + name + "]");
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return error("expected key = value");
        const std::string key = to_lower(trim(std::string_view(line).substr(0, eq)));
        const std::string value = unescape_value(trim(std::string_view(line).substr(eq + 1)));
        if (section == Section::Server) {
            if (key == "version")
                data.version = value;
            else if (key == "autoupdate")
                data.autoupdate = value;
            else if (key == "installer")
                data.installer_path = value;
            else if (key == "installer_signature")
                data.installer_signature_path = value;
            else
                return error("unknown server key " + key);
        } else if (section == Section::Public) {
            if (key != "contact") return error("unknown public-contacts key " + key);
            data.public_contacts.push_back(parse_pair(value));
        } else if (section == Section::Account) {
            AccountSeed& a = data.accounts.back();
            if (key == "password") {
                a.password = value;
            } else if (key == "name") {
                a.name = value;
            } else if (key == "flags") {
                for (const auto& f : split_tokens(value, ", ")) {
                    if (!known_flags().count(to_lower(f))) return error("unknown flag " + f);
                    a.flags.insert(to_lower(f));
                }
            } else if (key == "folder") {
                MailFolder f;
                if (!parse_folder(value, f)) return error("bad folder " + value);
                a.folders.push_back(std::move(f));
            } else if (key == "buddy") {
                const ContactEntry e = parse_pair(value);
                a.buddies.push_back({e.email, e.full_name});
            } else if (key == "settings") {
                a.settings = value;
            } else if (key == "contact") {
                a.contacts.push_back(parse_pair(value));
            } else {
                return error("unknown account key " + key);
            }
        } else {
            return error("key outside a section");
        }
    }
    for (auto& a : data.accounts) {
        if (a.folders.empty()) a.folders.push_back({"INBOX", "Inbox", 0, 0, 0, 0, {}});
    }
    result.ok = true;
    return result;
}

SeedResult load_seed_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SeedResult r;
        r.error = "cannot open seed file " + path;
        return r;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse_seed(text.str());
}

SeedData default_seed() {
    static constexpr std::string_view kSeed = R"(
[server]
autoupdate = yes

[public-contacts]
contact = reception@demo.local|Reception Desk
contact = helpdesk@demo.local|Help Desk

[account alice@demo.local]
password = alice
name = Alice Archer
flags = instantmessaging modifyglobalcontacts calendar
folder = INBOX:Inbox:12:3:0:0
folder = Sent:Sent Items:40:0:0:0
folder = Projects:Projects:5:1:0:0
buddy = bob@demo.local|Bob Baker
buddy = carol@demo.local|Carol Cole
buddy = bot@demo.local|Vellix Bot
settings = [Vellix]\nInterval=1\nPlaySounds=Yes\n
contact = dentist@example.org|Dr. Dent

[account bob@demo.local]
password = bob
name = Bob Baker
flags = instantmessaging calendar
folder = INBOX:Inbox:4:0:0:0
folder = Sent:Sent Items:2:0:0:0
buddy = alice@demo.local|Alice Archer
buddy = carol@demo.local|Carol Cole
buddy = bot@demo.local|Vellix Bot

[account carol@demo.local]
password = carol
name = Carol Cole
flags = instantmessaging
folder = INBOX:Inbox:0:0:0:0
buddy = alice@demo.local|Alice Archer
buddy = bob@demo.local|Bob Baker

[account bot@demo.local]
password = bot
name = Vellix Bot
flags = instantmessaging
buddy = alice@demo.local|Alice Archer
buddy = bob@demo.local|Bob Baker
)";
    return parse_seed(kSeed).data;
}

std::string contacts_xml(const std::vector<ContactEntry>& contacts) {
    std::string xml = "<?xml version=\"1.0\"?>\r\n<addressBook>\r\n";
    for (const auto& c : contacts) {
        xml += "<contact>\r\n";
        xml += "<guid><![CDATA[" + guid_for(to_lower(c.email)) + "]]></guid>\r\n";
        xml += "<email><![CDATA[" + c.email + "]]></email>\r\n";
        if (!c.full_name.empty()) xml += "<fullName><![CDATA[" + c.full_name + "]]></fullName>\r\n";
        xml += "</contact>\r\n";
    }
    xml += "</addressBook>\r\n";
    return xml;
}

}  // namespace vellix::sim
