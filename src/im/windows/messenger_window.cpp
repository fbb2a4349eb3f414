#include "im/windows/messenger_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "core/ascii_case.h"
#include "core/desktop_shell.h"
#include "core/new_mail_notifier.h"
#include "core/password_codec.h"
#include "core/settings_keys.h"
#include "core/sound_player.h"
#include "im/conversation_text.h"
#include "im/messaging_frame.h"
#include "im/messenger_placement.h"
#include "im/windows/emoticon_images.h"
#include "im/windows/spell_highlighter.h"
#include "platform/windows/spell_check_dialog.h"
#include "server/webmail_url.h"

namespace vellix {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// COLORREF is 0x00BBGGRR.
QColor fromColorRef(unsigned value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}
unsigned toColorRef(const QColor& c) {
    return static_cast<unsigned>(c.red()) | (static_cast<unsigned>(c.green()) << 8) |
           (static_cast<unsigned>(c.blue()) << 16);
}

constexpr unsigned kOwnHeadingColor = 0xFF0000;   // blue
constexpr unsigned kPeerHeadingColor = 0x0000FF;  // red

std::string crlf(const QString& typed) {
    std::string out;
    for (char c : typed.toStdString()) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

std::string MessengerWindow::userFolder() const {
    // The account's folder holds settings.tmp; before the first login only the data folder.
    const std::string settings = context_.accountSettings.path();
    const auto slash = settings.rfind('/');
    return slash == std::string::npos ? context_.dataFolder : settings.substr(0, slash + 1);
}

MessengerWindow::MessengerWindow(MessengerContext& context, ConversationStart start)
    : context_(context), id_(start.id), key_(start.key), choosing_(start.key.empty()) {
    setAttribute(Qt::WA_DeleteOnClose);
    readSettings();
    build();
    if (choosing_) {
        setWindowTitle(qs(std::string(kMultipleRecipientsTitle)));
        toLabel_->setText(qs(std::string(kMultipleRecipientsLabel)));
    } else {
        setParticipants(std::move(start.participants));
    }
    ownStatusChanged();
    restorePlacement();
    input_->setFocus();
    if (start.first) showIncoming(*start.first);
}

MessengerWindow::~MessengerWindow() = default;

void MessengerWindow::readSettings() {
    const ProfileFile vellixIni(context_.iniPath);
    sendOnEnter_ = readKey(vellixIni, ini::kSendOnEnter);
    const ProfileFile settings = context_.accountSettings.file();
    logging_ = readKey(settings, account::kLogChatSessions);
    autoSpellCheck_ = readKey(settings, account::kAutoSpellCheck);
    playSounds_ = readKey(settings, account::kPlaySounds);
    sentSound_ = readKey(settings, account::kIMSent);
    textColor_ = static_cast<unsigned>(readKey(settings, account::kTextColor));
    backgroundColor_ = static_cast<unsigned>(readKey(settings, account::kBkgrndColor));
    if (readKey(vellixIni, ini::kMessengerAlwaysOnTop)) setWindowFlag(Qt::WindowStaysOnTopHint);
}

void MessengerWindow::build() {
    const auto text = [this](int id) { return qs(context_.strings.text(id)); };
    statusLabel_ = new QLabel(this);
    toLabel_ = new QLabel(this);
    toLabel_->setTextFormat(Qt::PlainText);
    sendingLabel_ = new QLabel(text(IDS_IM_SENDING), this);
    sendingLabel_->hide();

    display_ = new QTextBrowser(this);
    display_->setOpenLinks(false);
    display_->setReadOnly(true);
    connect(display_, &QTextBrowser::anchorClicked, this, &MessengerWindow::openLink);
    input_ = new QTextEdit(this);
    input_->setAcceptRichText(false);
    input_->installEventFilter(this);
    connect(input_, &QTextEdit::textChanged, this, &MessengerWindow::updateSendState);
    if (autoSpellCheck_ && context_.spelling) {
        new SpellHighlighter(input_->document(), *context_.spelling);
    }

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->addWidget(display_);
    splitter_->addWidget(input_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setChildrenCollapsible(false);

    recipients_ = new QListWidget(this);
    recipients_->setVisible(choosing_);
    if (choosing_) {
        auto* heading = new QListWidgetItem(text(IDS_IM_RECIPIENTS_HEADING), recipients_);
        heading->setFlags(Qt::NoItemFlags);
        for (const BuddyRecord& buddy : context_.buddies.copy()) {
            auto* item =
                new QListWidgetItem(qs(buddy.name.empty() ? buddy.email : buddy.name), recipients_);
            item->setData(Qt::UserRole, qs(buddy.email));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }

    sendButton_ = new QPushButton(text(IDS_IM_SEND), this);
    sendButton_->setEnabled(false);
    connect(sendButton_, &QPushButton::clicked, this, &MessengerWindow::send);
    auto* buttons = new QHBoxLayout;
    for (const auto& [command, textId] :
         {std::pair{MessengerCommand::BackgroundColor, IDS_IM_BACKGROUND},
          std::pair{MessengerCommand::TextColor, IDS_IM_TEXT_COLOR},
          std::pair{MessengerCommand::HistoryFolder, IDS_IM_HISTORY},
          std::pair{MessengerCommand::SpellCheck, IDS_IM_SPELL_CHECK}}) {
        buttons->addWidget(commandButton(command, textId));
    }
    buttons->addStretch();
    buttons->addWidget(sendingLabel_);
    buttons->addWidget(sendButton_);

    auto* conversation = new QVBoxLayout;
    conversation->addWidget(toLabel_);
    conversation->addWidget(splitter_, 1);
    conversation->addLayout(buttons);
    auto* body = new QHBoxLayout;
    body->addLayout(conversation, 1);
    body->addWidget(recipients_);
    recipients_->setFixedWidth(kRecipientPaneWidth + 60);
    auto* top = new QVBoxLayout(this);
    auto* status = new QHBoxLayout;
    status->addWidget(statusLabel_, 1);
    status->addLayout(buildCommandRow());
    top->addLayout(status);
    top->addLayout(body, 1);
    resize(460, 380);
    applyColors();
}

void MessengerWindow::setParticipants(std::vector<Participant> participants) {
    participants_ = std::move(participants);
    const std::string title = conversationTitle(participants_);
    setWindowTitle(qs(title));
    toLabel_->setText(qs(toLabel(title)));
    if (logging_) history_.open(historyFolder(userFolder()), title);
}

void MessengerWindow::buddiesChanged() {
    if (choosing_) return;
    for (Participant& p : participants_) {
        if (auto buddy = context_.buddies.findByEmail(p.address)) p.status = buddy->status;
    }
    setWindowTitle(qs(statusTitle(participants_, context_.strings.text(IDS_STATUS_ONLINE))));
}

void MessengerWindow::ownStatusChanged() {
    statusLabel_->setText(
        qs(ownStatusLabel(context_.strings.text(IDS_MENU_MY_STATUS), context_.statusWord.get())));
}

bool MessengerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == input_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const bool control = key->modifiers().testFlag(Qt::ControlModifier);
            if (control != sendOnEnter_) {
                send();
            } else {
                input_->textCursor().insertText(QStringLiteral("\n"));
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MessengerWindow::send() {
    if (choosing_) {
        std::vector<Participant> chosen;
        for (const std::string& address : tickedAddresses()) {
            auto buddy = context_.buddies.findByEmail(address);
            chosen.push_back(buddy ? Participant{buddy->email, buddy->name, buddy->status}
                                   : Participant{address, address, {}});
        }
        if (chosen.empty()) {
            QMessageBox::information(this, QStringLiteral("Vellix"),
                                     qs(context_.strings.text(IDS_IM_NO_RECIPIENTS)));
            return;
        }
        // The participants are settled only once something is really sent.
        if (input_->toPlainText().isEmpty()) return;
        participants_ = std::move(chosen);
    }
    if (autoSpellCheck_ && context_.spelling &&
        checkSpelling(this, *context_.spelling, input_) < 0 &&
        QMessageBox::question(this, QStringLiteral("Vellix"),
                              qs(context_.strings.text(IDS_IM_SEND_UNCHECKED)),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    const QString typed = input_->toPlainText();
    if (typed.isEmpty()) return;
    sendButton_->setEnabled(false);

    std::vector<std::string_view> addresses;
    for (const Participant& p : participants_) addresses.push_back(p.address);
    const std::string recipients = joinSortedNoCase(addresses);
    if (choosing_) {
        choosing_ = false;
        key_ = asciiLowerCopy(recipients);
        context_.table.enterConversation(key_, id_);
        setParticipants(participants_);
        recipients_->hide();
        resize(width() - recipients_->width(), height());
    }
    const std::string text = crlf(typed);
    ++pendingSends_;
    sendingLabel_->show();
    QPointer<MessengerWindow> self(this);
    context_.frames.post(
        FrameKind::Messaging, UM_SEND_IM, 0, 0,
        makePayload(SendJob{{recipients, encodeMessageText(text)}, [self](std::string result) {
                                QMetaObject::invokeMethod(
                                    qApp,
                                    [self, result = std::move(result)] {
                                        if (self) self->sendResult(result);
                                    },
                                    Qt::QueuedConnection);
                            }}));
    if (playSounds_ && !sentSound_.empty() && context_.sound) context_.sound->play(sentSound_);

    const SessionState session = context_.session.get();
    const bool wasAtEnd = atEnd();
    addEntry({EntryKind::Sent,
              session.displayName.empty() ? session.account : session.displayName,
              text,
              {}});
    input_->clear();
    input_->setFocus();
    if (wasAtEnd) scrollToEnd();
}

void MessengerWindow::sendResult(const std::string& result) {
    if (--pendingSends_ <= 0) {
        pendingSends_ = 0;
        sendingLabel_->hide();
    }
    switch (judgeSendResult(result)) {
        case SendVerdict::Delivered:
            return;
        case SendVerdict::NoResult:
            addEntry({EntryKind::System, {}, context_.strings.text(IDS_IM_SERVER_ERROR), {}});
            break;
        case SendVerdict::Undelivered:
            addEntry({EntryKind::System, {}, result, {}});
            break;
    }
    scrollToEnd();
}

void MessengerWindow::showIncoming(const ImMessage& message) {
    const bool wasAtEnd = atEnd();
    const std::string text = decodeWithKeyTable(message.messageText);
    ConversationEntry entry{EntryKind::Received, message.from, text, {}};
    if (auto buddy = context_.buddies.findByEmail(message.from); buddy && !buddy->name.empty()) {
        entry.name = buddy->name;
    }
    if (!message.subject.empty()) {
        entry.kind = EntryKind::Reminder;
        entry.name = message.subject;
        const std::string sessionId = context_.session.get().sessionId;
        if (!sessionId.empty()) {
            entry.calendarLink =
                buildWebmailUrl(context_.serverUrl(), sessionId,
                                WebmailLink{"&NextView=CalendarWeekView", {}, TrayState::Keep});
        }
    }
    addEntry(entry);
    if (wasAtEnd) scrollToEnd();
    if (!isActiveWindow()) {
        // The urgency hint stays until the user activates the window.
        QApplication::alert(this, 0);
        notifyDesktop(entry.name, text);
    }
}

void MessengerWindow::notifyDesktop(const std::string& from, const std::string& text) {
    if (!context_.notifier) return;
    if (!context_.accountSettings.read(account::kNewIMDesktopNotice)) return;
    std::string title = context_.strings.text(IDS_IM_NOTICE_TITLE);
    if (const auto at = title.find("%s"); at != std::string::npos) title.replace(at, 2, from);
    const std::string firstLine = text.substr(0, text.find_first_of("\r\n"));
    QPointer<MessengerWindow> self(this);
    context_.notifier->notify({title, firstLine, context_.strings.text(IDS_IM_NOTICE_OPEN), [self] {
                                   if (!self) return;
                                   self->showNormal();
                                   self->raise();
                                   self->activateWindow();
                               }});
}

void MessengerWindow::addEntry(const ConversationEntry& entry) {
    if (context_.trace) context_.trace(entryTrace(windowTitle().toStdString(), entry));
    const StampTime now = localStampTime();
    QTextCursor cursor(display_->document());
    for (const TextRun& run : screenRuns(entry, now)) {
        if (run.role == RunRole::Body) {
            appendBody(run.text);
            continue;
        }
        QTextCharFormat heading;
        heading.setForeground(
            fromColorRef(run.role == RunRole::OwnHeading ? kOwnHeadingColor : kPeerHeadingColor));
        heading.setFontWeight(QFont::Bold);
        cursor.movePosition(QTextCursor::End);
        QString t = qs(run.text);
        t.remove(QLatin1Char('\r'));
        cursor.insertText(t, heading);
    }
    if (logging_) history_.append(historyLines(entry, now));
}

void MessengerWindow::appendBody(const std::string& text) {
    QTextCursor cursor(display_->document());
    const qreal ratio = devicePixelRatioF();
    for (const EmoticonPiece& piece : splitEmoticons(text)) {
        if (piece.emoticon < 0) {
            QString plain =
                QString::fromUtf8(piece.text.data(), static_cast<qsizetype>(piece.text.size()));
            plain.remove(QLatin1Char('\r'));
            appendLinked(plain);
            continue;
        }
        const QUrl url = emoticonUrl(piece.emoticon);
        if (display_->document()->resource(QTextDocument::ImageResource, url).isNull()) {
            display_->document()->addResource(QTextDocument::ImageResource, url,
                                              emoticonImage(piece.emoticon, ratio));
        }
        QTextImageFormat image;
        image.setName(url.toString());
        image.setWidth(kEmoticonSize);
        image.setHeight(kEmoticonSize);
        image.setToolTip(qs(std::string(piece.text)));
        cursor.movePosition(QTextCursor::End);
        cursor.insertImage(image);
    }
}

void MessengerWindow::appendLinked(const QString& text) {
    static const QRegularExpression link(QStringLiteral(R"((?:https?://|mailto:|www\.)[^\s<>"]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QTextCursor cursor(display_->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat body;
    body.setForeground(fromColorRef(textColor_));
    qsizetype pos = 0;
    for (auto it = link.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        cursor.insertText(text.mid(pos, match.capturedStart() - pos), body);
        QTextCharFormat anchor = body;
        QString href = match.captured();
        if (href.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
            href.prepend(QStringLiteral("http://"));
        }
        anchor.setAnchor(true);
        anchor.setAnchorHref(href);
        anchor.setForeground(QColor(0, 0, 238));
        anchor.setFontUnderline(true);
        cursor.insertText(match.captured(), anchor);
        pos = match.capturedEnd();
    }
    cursor.insertText(text.mid(pos), body);
}

void MessengerWindow::openLink(const QUrl& url) {
    const std::string target = url.toString().toStdString();
    if (startsWithNoCase(target, "mailto:")) {
        if (context_.mailtoLink) {
            context_.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0,
                                 context_.mailtoLink(target));
        }
        return;
    }
    if (context_.shell) (void)context_.shell->openInNewBrowser(target);
}

void MessengerWindow::updateSendState() {
    sendButton_->setEnabled(!input_->toPlainText().isEmpty());
}

bool MessengerWindow::atEnd() const {
    const QScrollBar* bar = display_->verticalScrollBar();
    return bar->maximum() == 0 || bar->value() >= bar->maximum() - 2;
}

void MessengerWindow::scrollToEnd() {
    display_->verticalScrollBar()->setValue(display_->verticalScrollBar()->maximum());
}

void MessengerWindow::chooseColor(bool background) {
    AccountSettingsFile& settings = context_.accountSettings;
    for (int i = 1; i <= account::kCustomColorCount; ++i) {
        const int value = settings.readInt(kSectionVellix, account::customColorKeyName(i),
                                           account::kCustomColorDefault);
        QColorDialog::setCustomColor(i - 1, fromColorRef(static_cast<unsigned>(value)));
    }
    unsigned& current = background ? backgroundColor_ : textColor_;
    const QColor chosen = QColorDialog::getColor(fromColorRef(current), this);
    if (!chosen.isValid()) return;
    current = toColorRef(chosen);
    (void)settings.writeInt(kSectionVellix,
                            background ? account::kBkgrndColor.name : account::kTextColor.name,
                            static_cast<int>(current));
    for (int i = 1; i <= account::kCustomColorCount; ++i) {
        (void)settings.writeInt(kSectionVellix, account::customColorKeyName(i),
                                static_cast<int>(toColorRef(QColorDialog::customColor(i - 1))));
    }
    applyColors();
}

void MessengerWindow::applyColors() {
    for (QWidget* w : {static_cast<QWidget*>(display_), static_cast<QWidget*>(input_)}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::Base, fromColorRef(backgroundColor_));
        palette.setColor(QPalette::Text, fromColorRef(textColor_));
        w->setPalette(palette);
    }
}

void MessengerWindow::restorePlacement() {
    const ProfileFile vellixIni(context_.iniPath);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    QRect ownRect(QPoint(0, 0), size());
    ownRect.moveCenter(available.center());
    const QRect desktop = screen->virtualGeometry();
    const SavedEdges saved{readKey(vellixIni, ini::kMessengerWindowLeft),
                           readKey(vellixIni, ini::kMessengerWindowTop),
                           readKey(vellixIni, ini::kMessengerWindowRight),
                           readKey(vellixIni, ini::kMessengerWindowBottom)};
    const ScreenRect r =
        restoredRect(saved,
                     {ownRect.left(), ownRect.top(), ownRect.left() + ownRect.width(),
                      ownRect.top() + ownRect.height()},
                     {desktop.left(), desktop.top(), desktop.left() + desktop.width(),
                      desktop.top() + desktop.height()},
                     static_cast<int>(QGuiApplication::screens().size()));
    setGeometry(r.left, r.top, r.width(), r.height());
    const int inputHeight = restoredInputHeight(readKey(vellixIni, ini::kInputWindowHeight));
    splitter_->setSizes({std::max(r.height() - inputHeight, 50), inputHeight});
    if (readKey(vellixIni, ini::kMessengerIsMaximized)) setWindowState(Qt::WindowMaximized);
}

void MessengerWindow::savePlacement() {
    ProfileFile vellixIni(context_.iniPath);
    const bool maximized = isMaximized();
    if (!maximized) {
        const QRect g = geometry();
        const SavedEdges edges =
            edgesToSave({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()},
                        recipients_->isVisible());
        (void)vellixIni.writeInt(kSectionMessengerWindow, ini::kMessengerWindowLeft.name,
                                 edges.left);
        (void)vellixIni.writeInt(kSectionMessengerWindow, ini::kMessengerWindowTop.name, edges.top);
        (void)vellixIni.writeInt(kSectionMessengerWindow, ini::kMessengerWindowRight.name,
                                 edges.right);
        (void)vellixIni.writeInt(kSectionMessengerWindow, ini::kMessengerWindowBottom.name,
                                 edges.bottom);
    }
    (void)vellixIni.writeBool(kSectionMessengerWindow, ini::kMessengerIsMaximized.name, maximized);
    (void)vellixIni.writeInt(kSectionMessengerWindow, ini::kInputWindowHeight.name,
                             input_->height());
}

void MessengerWindow::closeEvent(QCloseEvent* event) {
    if (!key_.empty()) context_.table.removeConversation(key_, id_);
    if (logging_) history_.close();
    savePlacement();
    QWidget::closeEvent(event);
}

}  // namespace vellix
