#include "ui/about_page.h"

#include <QBoxLayout>
#include <QLabel>

#include "core/version.h"
#include "tray/menu_commands.h"
#include "ui/link_label.h"
#include "ui/message_boxes.h"

namespace vellix {

QString versionText(const StringTable& strings) {
    return QString::fromStdString(strings.text(IDS_ABOUT_VERSION)) +
           QString::fromUtf8(kProgramVersion.data(),
                             static_cast<qsizetype>(kProgramVersion.size()));
}

Property_AboutPage::Property_AboutPage(OptionsContext& context, QWidget* parent)
    : OptionsPage(context.text(IDS_PAGE_ABOUT), parent) {
    auto* name = new QLabel(context.text(IDS_ABOUT_PRODUCT));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setWeight(QFont::DemiBold);
    name->setFont(big);
    auto* version = new QLabel(versionText(context.strings));
    QFont demi = version->font();
    demi.setWeight(QFont::DemiBold);
    version->setFont(demi);
    auto* summary = new QLabel(context.text(IDS_ABOUT_SUMMARY));
    summary->setWordWrap(true);
    link_ = new LinkLabel(context.text(IDS_ABOUT_MAKER), context.shell);
    link_->setTarget(std::string(kMakerSiteUrl));
    link_->setFont(demi);
    connect(link_, &LinkLabel::openFailed, this, [this, &context](const QString& reason) {
        showError(this, context.strings,
                  fillIn(context.strings.text(IDS_DESKTOP_ACTION_FAILED), reason.toStdString()));
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addSpacing(version->fontMetrics().height());
    layout->addWidget(summary);
    layout->addWidget(link_);
    layout->addStretch(1);
}

OptionsPageEntry aboutPageEntry() {
    return OptionsPageEntry{
        .slot = PageSlot::About,
        .condition = PageCondition::Always,
        .openName = std::string(kPageNameAbout),
        .helpTopic = kHelpTopicAbout,
        .make = [](OptionsContext& context) { return new Property_AboutPage(context); },
    };
}

}  // namespace vellix
