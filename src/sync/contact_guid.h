#pragma once
// Identity for a record that has none: 128 random bits from the OS as 32 lower-case
// hexadecimal digits (a GUID's text form without its dashes).

#include <string>

namespace vellix {

std::string newGuidText();

}  // namespace vellix
