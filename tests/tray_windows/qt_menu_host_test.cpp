#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <thread>

#include "support/folders.h"
#include "tray/windows/qt_menu_host.h"

namespace vellix {
namespace {

const StringTable kStrings(Language::English);

MenuModel sampleMenu() {
    MenuSnapshot s;
    s.hasSession = s.messaging = true;
    s.statusWord = "Online";
    s.folderInMenu = 2;
    s.folders = {test::folder("Inbox"), test::folder("R&D", 0, 0, 1), test::folder("Sent")};
    s.buddies = {{"a@x", "Ann", "Away"}};
    return buildMenu(s, kStrings);
}

QAction* actionFor(QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (QAction* found = actionFor(*action->menu(), id)) return found;
        } else if (!action->isSeparator() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

TEST(QtMenuHostTest, MapsTheModel) {
    const MenuModel model = sampleMenu();
    const auto menu = makeQMenu(model);
    ASSERT_EQ(menu->actions().size(), static_cast<qsizetype>(model.items.size()));
    for (qsizetype i = 0; i < menu->actions().size(); ++i) {
        const QAction* action = menu->actions()[i];
        const MenuItem& item = model.items[static_cast<std::size_t>(i)];
        EXPECT_EQ(action->isSeparator(), item.kind == MenuItem::Kind::Separator) << i;
        EXPECT_EQ(action->menu() != nullptr, item.kind == MenuItem::Kind::Submenu) << i;
        EXPECT_EQ(action->text().toStdString(), item.text) << i;
        EXPECT_EQ(action->isEnabled(), item.enabled) << i;
        EXPECT_EQ(action->isChecked(), item.checked) << i;
        if (item.kind == MenuItem::Kind::Command) {
            EXPECT_EQ(action->data().toInt(), item.id) << i;
        }
    }
    QAction* first = actionFor(*menu, menu_id::kFirstUnread);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(menu->defaultAction(), first);
    EXPECT_TRUE(first->font().bold());
    EXPECT_FALSE(actionFor(*menu, menu_id::kInbox)->font().bold());
    // The third folder sits in the "more folders" submenu.
    QAction* sent = actionFor(*menu, menu_id::kFirstFolder + 2);
    ASSERT_NE(sent, nullptr);
    EXPECT_NE(sent->parent(), menu.get());
    EXPECT_EQ(sent->text(), QStringLiteral("Sent (0/0/0)"));
    EXPECT_TRUE(actionFor(*menu, menu_id::kFirstFolder + 1)->isChecked());
    EXPECT_FALSE(actionFor(*menu, menu_id::kStatusAway)->icon().isNull());
    EXPECT_FALSE(actionFor(*menu, menu_id::kFirstBuddy)->icon().isNull());
    EXPECT_TRUE(actionFor(*menu, menu_id::kStatusOnline)->isChecked());
}

// Acts on the popup once it is on screen: picks `id` with the keyboard, or dismisses it.
void answerPopup(int id) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, id] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        timer->deleteLater();
        timer->stop();
        if (id) menu->setActiveAction(actionFor(*menu, id));
        QKeyEvent press(QEvent::KeyPress, id ? Qt::Key_Return : Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &press);
    });
    timer->start(5);
}

TEST(QtMenuHostTest, ReturnsTheChosenCommand) {
    const MenuModel model = sampleMenu();
    QtMenuHost host;
    for (int id : {menu_id::kInbox, menu_id::kExit, 0}) {
        answerPopup(id);
        EXPECT_EQ(host.showMenu(model, 40, 40), id);
    }
    // From a worker thread the call waits on the GUI thread's menu.
    int chosen = -1;
    QEventLoop loop;
    answerPopup(menu_id::kRefresh);
    std::thread worker([&] {
        chosen = host.showMenu(model, 40, 40);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    EXPECT_EQ(chosen, menu_id::kRefresh);
}

}  // namespace
}  // namespace vellix
