#pragma once
// The help pages: one HTML file per topic, installed with the program, opened in the
// browser. Where they live is a plain function so the tests and the install agree.

#include <string>

#include "core/string_table.h"

class QWidget;

namespace vellix {

class DesktopShell;
struct OptionsContext;

// "<program folder>../share/vellix/help/<en|zh_CN>/topic<N>.html": the layout of both the
// install prefix and the build tree.
std::string helpFilePath(const std::string& programFolder, Language language, int topic);

// Opens the topic's page in the browser; a missing page or a browser that does not start
// is said in a message box over `owner`.
void openHelpTopic(QWidget* owner, const StringTable& strings, const std::string& programFolder,
                   DesktopShell* shell, int topic);
void openHelpTopic(QWidget* owner, const OptionsContext& context, int topic);

}  // namespace vellix
