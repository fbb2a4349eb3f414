#include "server/server_requests.h"

#include "server/text_codecs.h"

namespace vellix::requests {
namespace {

std::string sessionQuery(std::string_view url, std::string_view session, std::string_view word) {
    std::string out(url);
    out += "?Session=";
    out += session;
    out += "&View=StatusCheck&";
    out += word;
    return out;
}

// Typed text reaches the server as UTF-8, percent-encoded. The buffers are sized to the
// text, so nothing is cut.
std::string encodeTyped(const std::string& text) {
    std::string buffer = text;
    (void)ToUtf8InPlace(buffer, text.size() * 4 + 1);
    return UrlEncode(buffer);
}

std::string queryValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : value) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte <= 0x20 || byte >= 0x7f ||
            std::string_view("\"#%&+<>").find(ch) != std::string_view::npos) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

std::string fileOffer(std::string_view url, std::string_view session, std::string_view to,
                      std::string_view fileName, std::uint64_t size) {
    return sessionQuery(url, session, "FileTransferRequest=yes&TransferTo=") + queryValue(to) +
           "&FileName=" + queryValue(fileName) + "&FileSize=" + std::to_string(size);
}

std::string fileAnswer(std::string_view url, std::string_view session, bool accepted,
                       std::string_view from, std::string_view fileName) {
    return sessionQuery(url, session, "FileTransferResponse=") + (accepted ? "yes" : "no") +
           "&TransferFrom=" + queryValue(from) + "&FileName=" + queryValue(fileName);
}

std::string fileUpload(std::string_view url, std::string_view session, std::string_view to,
                       std::string_view fileName) {
    return sessionQuery(url, session, "FileUpload=Yes&TransferTo=") + queryValue(to) +
           "&FileName=" + queryValue(fileName);
}

std::string fileDownload(std::string_view url, std::string_view session, std::string_view fileId,
                         std::string_view from, std::string_view fileName) {
    return sessionQuery(url, session, "FileDownload=Yes&FileID=") + queryValue(fileId) +
           "&TransferFrom=" + queryValue(from) + "&FileName=" + queryValue(fileName);
}

std::string version(std::string_view url) {
    return std::string(url) + "?View=StatusCheck&GetVersion=Yes";
}

std::string login(std::string_view url, std::string_view session, bool takeOver) {
    std::string out(url);
    out += '?';
    if (!session.empty()) {
        out += "Session=";
        out += session;
        out += '&';
    }
    out += "View=StatusCheck&GetSession=Yes";
    if (takeOver) out += "&TakeOver=Yes";
    return out;
}

std::string loginBody(const std::string& user, const std::string& password) {
    return "User=" + encodeTyped(user) + "&Password=" + encodeTyped(password);
}

std::string messageCounts(std::string_view url, std::string_view session) {
    return sessionQuery(url, session, "GetMessageCounts=Yes");
}

std::string setStatus(std::string_view url, std::string_view session, std::string_view word) {
    return sessionQuery(url, session, "SetStatus=") + std::string(word);
}

std::string contactsSession(std::string_view url, std::string_view session) {
    return sessionQuery(url, session, "GetSession=Yes");
}

std::string getContacts(std::string_view url, std::string_view session, std::string_view folder) {
    return sessionQuery(url, session, "GetContacts=" + std::string(folder));
}

std::string setContacts(std::string_view url, std::string_view session, std::string_view folder) {
    return sessionQuery(url, session, "SetContacts_80=" + std::string(folder));
}

std::string buddyList(std::string_view url, std::string_view session) {
    return sessionQuery(url, session, "GetBuddyList=Yes");
}

std::string userList(std::string_view url, std::string_view session) {
    return sessionQuery(url, session, "GetUserList=Yes");
}

std::string saveBuddyList(std::string_view url, std::string_view session) {
    return sessionQuery(url, session, "SaveBuddyList=Yes");
}

std::string imSettings(std::string_view url, std::string_view session) {
    return sessionQuery(url, session, "GetIMSettings=Yes");
}

std::string saveImSettings(std::string_view url, std::string_view session) {
    return sessionQuery(url, session, "SaveIMSettings=Yes");
}

std::string saveImSettingsBody(std::string_view settingsText) {
    return "IMSettings=" + UrlEncode(settingsText);
}

}  // namespace vellix::requests
