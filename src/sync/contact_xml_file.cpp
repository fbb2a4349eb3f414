// The list's file operations: write through a temporary file, read in buffered chunks.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/atomic_file_writer.h"
#include "sync/contact_list.h"
#include "sync/contact_xml.h"

namespace vellix {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool ContactList::WriteXml(const std::string& fileName) const {
    AtomicFileWriter writer;
    if (!writer.open(fileName)) return false;
    std::string buffer(kContactXmlHeader);
    buffer.reserve(2 * kChunk);
    for (const auto& record : *this) {
        appendContactXml(record, buffer);
        if (buffer.size() >= kChunk) {
            if (!writer.write(buffer)) return false;
            buffer.clear();
        }
    }
    buffer += kContactXmlTrailer;
    return writer.write(buffer) && writer.commit();
}

bool ContactList::ReadXml(const std::string& fileName) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) return false;
    // Index room for the records a regular file can hold, so a large read never rehashes:
    // a contact element takes at least this many bytes in practice (framing, guid, email).
    constexpr off_t kSmallestContact = 160;
    constexpr off_t kMostReserved = 4'000'000;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t records = std::min(info.st_size / kSmallestContact, kMostReserved);
        reserve(size() + static_cast<std::size_t>(records));
    }
    ContactXmlReader reader(*this);
    std::vector<char> chunk(kChunk);
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), file.get());
        if (n > 0) reader.feed(std::string_view(chunk.data(), n));
        if (n < chunk.size()) break;
    }
    // A read error (a folder, a failing disk) is not a complete file: say so, but keep
    // what was read, as a reader that stops at the end of a file does.
    const bool complete = !std::ferror(file.get());
    reader.finish();
    return complete;
}

}  // namespace vellix
