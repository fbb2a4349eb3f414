#pragma once
// The spelling engine's configuration at every start.

#include <string>

#include "core/spelling_engine.h"

namespace vellix {

inline constexpr const char* kSpellingRegTree = "SOFTWARE\\Brisgate Technologies\\Vellix\\SSCE";
inline constexpr const char* kDefaultMainLexFiles = "ssceam.tlx,ssceam2.clx";
inline constexpr const char* kDefaultUserLexFiles = "userdic.tlx";

// programFolder: the executable's folder, without a trailing separator.
void setUpSpellingEngine(SpellingEngine& engine, const std::string& programFolder);

}  // namespace vellix
