#pragma once
// The options window's message boxes: titled, sized to their text, over their owner.

#include <string>
#include <string_view>

#include "core/string_table.h"

class QWidget;

namespace vellix {

// `format` with its first "%s" replaced by `value` (appended when there is none).
std::string fillIn(std::string_view format, std::string_view value);

void showError(QWidget* owner, const StringTable& strings, const std::string& text);
void showInformation(QWidget* owner, const StringTable& strings, const std::string& text);
// Yes and No with a warning icon; true for Yes.
bool askYesNo(QWidget* owner, const StringTable& strings, const std::string& text);

}  // namespace vellix
