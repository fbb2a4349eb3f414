#include "im/windows/buddy_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/string_table.h"
#include "im/windows/buddy_window_tabs.h"

namespace vellix {
namespace {

WindowRect toWindowRect(const QRect& r) {
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

// A narrow column at the right of the primary screen, where such windows usually sit.
WindowRect defaultRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int width = 260;
    const int height = std::min(520, area.height() - 80);
    const int left = area.right() - width - 40;
    const int top = area.top() + 60;
    return {left, top, left + width, top + height};
}

}  // namespace

CProperty_VX_Sheet::CProperty_VX_Sheet(const StringTable& strings, BuddyWindowActions& actions,
                                       Hooks hooks)
    : strings_(strings), actions_(actions), hooks_(std::move(hooks)) {
    setWindowTitle(QStringLiteral("Vellix"));
    auto* layout = new QVBoxLayout(this);
    auto* statusRow = new QHBoxLayout;
    auto* label = new QLabel(QString::fromStdString(strings.text(IDS_MENU_MY_STATUS)), this);
    status_ = new QComboBox(this);
    label->setBuddy(status_);
    statusRow->addWidget(label);
    statusRow->addWidget(status_, 1);
    layout->addLayout(statusRow);
    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_, 1);
    // Only the user's own pick counts; a refresh that sets the box must not send a change.
    connect(status_, &QComboBox::activated, this,
            [this](int index) { actions_.chooseStatus(static_cast<std::size_t>(index)); });
}

void CProperty_VX_Sheet::showBuddies(const BuddyGroups& groups) {
    if (buddies_) buddies_->show(groups);
}

void CProperty_VX_Sheet::showFolders(const std::vector<FolderItem>& folders) {
    if (folders_) folders_->show(folders);
}

void CProperty_VX_Sheet::rebuildTabs(bool withBuddies) {
    while (tabs_->count() > 0) {
        QWidget* page = tabs_->widget(0);
        tabs_->removeTab(0);
        delete page;
    }
    buddies_ = nullptr;
    if (withBuddies) {
        buddies_ = new CProperty_VX_Buddies(strings_, actions_, tabs_);
        tabs_->addTab(buddies_, QString::fromStdString(strings_.text(IDS_BUDDIES_TAB)));
    }
    folders_ = new CProperty_VX_Folders(strings_, actions_, tabs_);
    tabs_->addTab(folders_, QString::fromStdString(strings_.text(IDS_FOLDERS_TAB)));
    tabs_->setCurrentWidget(folders_);
}

void CProperty_VX_Sheet::showStatus(const StatusChoices& status) {
    status_->clear();
    int current = -1;
    for (std::size_t i = 0; i < status.words.size(); ++i) {
        status_->addItem(QString::fromStdString(status.words[i]));
        if (status.words[i] == status.current) current = static_cast<int>(i);
    }
    // A word the server invented is shown as it is, but cannot be picked.
    if (current < 0 && !status.current.empty()) {
        status_->addItem(QString::fromStdString(status.current));
        current = status_->count() - 1;
    }
    status_->setCurrentIndex(current);
    status_->setEnabled(status.enabled);
}

void CProperty_VX_Sheet::setTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

void CProperty_VX_Sheet::setAlwaysOnTop(bool onTop) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    // Changing a window flag hides a shown window; it comes back where it was.
    const bool shown = isVisible();
    const QRect where = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    setGeometry(where);
    if (shown) show();
}

void CProperty_VX_Sheet::place(const WindowPlacement& placement) {
    std::vector<WindowRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(toWindowRect(screen->availableGeometry()));
    }
    const WindowRect rect = openingRect(placement.rect, defaultRect(), screens);
    setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    setAlwaysOnTop(placement.alwaysOnTop);
    startMaximized_ = placement.maximized;
}

void CProperty_VX_Sheet::showAndRaise() {
    if (startMaximized_) {
        startMaximized_ = false;
        showMaximized();
    } else {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
    }
    raise();
    activateWindow();
}

WindowRect CProperty_VX_Sheet::normalRect() const {
    return toWindowRect(QWidget::isMaximized() ? normalGeometry() : geometry());
}

bool CProperty_VX_Sheet::isMaximized() const {
    return QWidget::isMaximized() || (startMaximized_ && !isVisible());
}

void CProperty_VX_Sheet::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!hooks_.trayAvailable || hooks_.trayAvailable()) {
        hide();
    } else {
        showMinimized();
    }
}

// Minimizing is the window system's (spontaneous) hide: the window is still there.
void CProperty_VX_Sheet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (hooks_.visibilityChanged && !event->spontaneous()) hooks_.visibilityChanged(true);
}

void CProperty_VX_Sheet::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (hooks_.visibilityChanged && !event->spontaneous()) hooks_.visibilityChanged(false);
}

}  // namespace vellix
