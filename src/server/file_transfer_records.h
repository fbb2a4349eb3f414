#pragma once
// The transfer windows' requests to the server frame: an offer to recipients and the answer
// to an offer. Posted as payloads of UM_FILE_TRANSFER_REQUEST / UM_FILE_TRANSFER_RESPONSE.

#include <cstdint>
#include <string>

namespace vellix {

struct FileOffer {
    std::string recipients;  // addresses separated by commas and/or blanks
    std::string fileName;    // without folder
    std::uint64_t size = 0;
};

struct FileAnswer {
    std::string sender;
    std::string fileName;
    bool accepted = false;
};

}  // namespace vellix
