#include "ui/sounds_page.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/sound_player.h"
#include "ui/icon_button.h"
#include "ui/message_boxes.h"

namespace vellix {

const std::array<SoundSlot, kSoundSlots>& soundSlots() {
    static const std::array<SoundSlot, kSoundSlots> table{{
        {account::kNewMailWaveFile, IDS_SOUNDS_NEW_MAIL, false},
        {account::kIMIncomingFile, IDS_SOUNDS_INCOMING_FILE, true},
        {account::kNewIMWaveFile, IDS_SOUNDS_NEW_IM, true},
        {account::kIMSent, IDS_SOUNDS_IM_SENT, true},
        {account::kIMBuddyOnline, IDS_SOUNDS_BUDDY_ONLINE, true},
    }};
    return table;
}

Property_SoundsPage::Property_SoundsPage(OptionsContext& context, QWidget* parent)
    : OptionsPage(context.text(IDS_PAGE_SOUNDS), parent), context_(context) {
    const bool messaging = context_.loginState().messaging;
    playSounds_ = new QCheckBox(context_.text(IDS_SOUNDS_PLAY_SOUNDS));
    connect(playSounds_, &QCheckBox::toggled, this, &OptionsPage::modified);
    auto* grid = new QGridLayout;
    const QIcon playIcon = QIcon::fromTheme(QStringLiteral("media-playback-start"));
    for (std::size_t i = 0; i < kSoundSlots; ++i) {
        const SoundSlot& slot = soundSlots()[i];
        auto* edit = new QLineEdit;
        auto* label = new QLabel(context_.text(slot.label));
        label->setBuddy(edit);
        auto* browse = new QPushButton(context_.text(IDS_BROWSE).remove(QLatin1Char('&')));
        auto* play = new IconButton(playIcon, context_.text(IDS_SOUNDS_PLAY));
        const bool enabled = messaging || !slot.needsMessaging;
        for (QWidget* w : std::initializer_list<QWidget*>{edit, label, browse, play}) {
            w->setEnabled(enabled);
        }
        files_[i] = edit;
        const int row = static_cast<int>(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(browse, row, 2);
        grid->addWidget(play, row, 3);
        connect(edit, &QLineEdit::textEdited, this, &OptionsPage::modified);
        connect(browse, &QPushButton::clicked, this, [this, edit] {
            const QString path = QFileDialog::getOpenFileName(this, QString(), edit->text(),
                                                              context_.text(IDS_SOUNDS_FILTER));
            if (path.isEmpty()) return;
            edit->setText(path);
            Q_EMIT modified();
        });
        connect(play, &QPushButton::clicked, this, [this, edit] {
            if (!edit->text().isEmpty() && context_.sound) {
                context_.sound->play(edit->text().toStdString());
            }
        });
    }

    doubleClick_ = new QComboBox;
    doubleClick_->addItem(context_.text(IDS_SOUNDS_DBL_MAIL));
    doubleClick_->addItem(context_.text(IDS_SOUNDS_DBL_WINDOW));
    tipFolder_ = new QComboBox;
    for (QComboBox* box : {doubleClick_, tipFolder_}) {
        connect(box, &QComboBox::activated, this, &OptionsPage::modified);
    }
    auto* events = new QFormLayout;
    auto* dblLabel = new QLabel(context_.text(IDS_SOUNDS_DOUBLE_CLICK));
    dblLabel->setBuddy(doubleClick_);
    auto* tipLabel = new QLabel(context_.text(IDS_SOUNDS_TIP_FOLDER));
    tipLabel->setBuddy(tipFolder_);
    events->addRow(dblLabel, doubleClick_);
    events->addRow(tipLabel, tipFolder_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(playSounds_);
    layout->addLayout(grid);
    layout->addLayout(events);
    layout->addStretch(1);
    load();
}

void Property_SoundsPage::load() {
    const ProfileFile settings = context_.accountSettings.file();
    playSounds_->setChecked(readKey(settings, account::kPlaySounds));
    for (std::size_t i = 0; i < kSoundSlots; ++i) {
        files_[i]->setText(QString::fromStdString(readKey(settings, soundSlots()[i].key)));
    }
    const int dbl = readKey(ProfileFile(context_.iniPath), ini::kToolIconDblClick);
    doubleClick_->setCurrentIndex(dbl == 1 ? 1 : 0);

    // The first line stands for "no folder": the total of all of them.
    tipFolder_->addItem(context_.text(IDS_TIP_ALL_FOLDERS), QString());
    if (!context_.loginState().loggedIn) return;
    const std::string tip = readKey(settings, account::kTipFolder);
    for (const FolderStatus& folder : context_.folders.copyFolders()) {
        tipFolder_->addItem(QString::fromStdString(folder.displayName),
                            QString::fromStdString(folder.name));
        if (folder.name == tip) tipFolder_->setCurrentIndex(tipFolder_->count() - 1);
    }
}

bool Property_SoundsPage::saveSounds() {
    AccountSettingsFile& settings = context_.accountSettings;
    Status first = settings.writeBool(account::kPlaySounds.section, account::kPlaySounds.name,
                                      playSounds_->isChecked());
    for (std::size_t i = 0; i < kSoundSlots; ++i) {
        const TextKey& key = soundSlots()[i].key;
        Status s = settings.writeText(key.section, key.name, files_[i]->text().toStdString());
        if (first && !s) first = std::move(s);
    }
    if (!first) {
        showError(this, context_.strings,
                  fillIn(context_.strings.text(IDS_SETTINGS_NOT_SAVED), first.error()));
    }
    return first.ok();
}

bool Property_SoundsPage::pageLeaving() {
    (void)saveSounds();
    return true;
}

bool Property_SoundsPage::applyPage() {
    ProfileFile ini(context_.iniPath);
    (void)ini.writeInt(ini::kToolIconDblClick.section, ini::kToolIconDblClick.name,
                       doubleClick_->currentIndex());
    if (!saveSounds()) return true;
    // The tray reads "TipFolder" at each state change, so the next one shows it.
    (void)context_.accountSettings.writeText(account::kTipFolder.section, account::kTipFolder.name,
                                             tipFolder_->currentData().toString().toStdString());
    return true;
}

OptionsPageEntry soundsPageEntry() {
    return OptionsPageEntry{
        .slot = PageSlot::Sounds,
        .condition = PageCondition::LoggedIn,
        .openName = std::string(kPageNameSounds),
        .helpTopic = kHelpTopicSounds,
        .make = [](OptionsContext& context) { return new Property_SoundsPage(context); },
    };
}

}  // namespace vellix
