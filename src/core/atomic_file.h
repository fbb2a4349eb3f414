#pragma once
// Whole-file reads and crash-safe whole-file writes for files that carry state.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace vellix {

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaxStateFileBytes = 64u << 20;

// The file's bytes; no value when the file does not exist; an error when it exists but
// cannot be read (a folder, no permission, larger than maxBytes).
Result<std::optional<std::string>> readFileBytes(const std::string& path,
                                                 std::size_t maxBytes = kMaxStateFileBytes);

// Writes a temporary file beside the target, flushes it to disk and renames it over the
// target: readers and a crash see the old or the new content, never part of either.
Status writeFileAtomically(const std::string& path, std::string_view bytes);

// Removes a file; a file that is already gone counts as removed.
Status removeFile(const std::string& path);

bool fileExists(const std::string& path);

}  // namespace vellix
