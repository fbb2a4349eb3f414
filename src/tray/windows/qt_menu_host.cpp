#include "tray/windows/qt_menu_host.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QThread>

namespace vellix {
namespace {

QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QIcon circle(QColor fill) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(fill.darker(140));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return QIcon(pixmap);
}

void fill(QMenu& menu, const std::vector<MenuItem>& items) {
    for (const auto& item : items) {
        switch (item.kind) {
            case MenuItem::Kind::Separator:
                menu.addSeparator();
                break;
            case MenuItem::Kind::Submenu: {
                QMenu* sub = menu.addMenu(toQString(item.text));
                sub->setEnabled(item.enabled);
                fill(*sub, item.children);
                break;
            }
            case MenuItem::Kind::Command: {
                QAction* action = menu.addAction(toQString(item.text));
                action->setData(item.id);
                action->setEnabled(item.enabled);
                if (item.checked) {
                    action->setCheckable(true);
                    action->setChecked(true);
                }
                if (item.picture != 0) action->setIcon(statusPicture(item.picture));
                if (item.isDefault) {
                    QFont font = action->font();
                    font.setBold(true);
                    action->setFont(font);
                    menu.setDefaultAction(action);
                }
                break;
            }
        }
    }
}

int runMenu(const MenuModel& model, int x, int y) {
    const auto menu = makeQMenu(model);
    QAction* chosen = menu->exec(QPoint(x, y));
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace

QIcon statusPicture(int picture) {
    switch (picture) {
        case kPictureOnline:
            return circle(QColor(0x3c, 0xb3, 0x4a));
        case kPictureAway:
            return circle(QColor(0xf0, 0xb4, 0x29));
        case kPictureOffline:
            return circle(QColor(0x9a, 0x9a, 0x9a));
        default:
            return {};
    }
}

std::unique_ptr<QMenu> makeQMenu(const MenuModel& model) {
    auto menu = std::make_unique<QMenu>();
    fill(*menu, model.items);
    return menu;
}

int QtMenuHost::showMenu(const MenuModel& model, int x, int y) {
    if (QThread::currentThread() == qApp->thread()) return runMenu(model, x, y);
    int chosen = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { chosen = runMenu(model, x, y); }, Qt::BlockingQueuedConnection);
    return chosen;
}

}  // namespace vellix
