#include "ui/help_pages.h"

#include <QUrl>

#include <filesystem>

#include "core/desktop_shell.h"
#include "ui/message_boxes.h"
#include "ui/options_context.h"

namespace vellix {

std::string helpFilePath(const std::string& programFolder, Language language, int topic) {
    const char* folder = language == Language::Chinese ? "zh_CN" : "en";
    return programFolder + "../share/vellix/help/" + folder + "/topic" + std::to_string(topic) +
           ".html";
}

void openHelpTopic(QWidget* owner, const StringTable& strings, const std::string& programFolder,
                   DesktopShell* shell, int topic) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::weakly_canonical(
        helpFilePath(programFolder, strings.language(), topic), error);
    if (error || !std::filesystem::is_regular_file(path, error)) {
        showError(owner, strings, fillIn(strings.text(IDS_HELP_MISSING), path.string()));
        return;
    }
    if (!shell) return;
    const std::string url =
        QUrl::fromLocalFile(QString::fromStdString(path.string())).toString().toStdString();
    if (const Status opened = shell->openUrl(url); !opened) {
        showError(owner, strings, fillIn(strings.text(IDS_DESKTOP_ACTION_FAILED), opened.error()));
    }
}

void openHelpTopic(QWidget* owner, const OptionsContext& context, int topic) {
    openHelpTopic(owner, context.strings, context.programFolder, context.shell, topic);
}

}  // namespace vellix
