#include "server/windows/error_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vellix {

int messageTextWidth(int naturalTextWidth, int titleWidth, int em) {
    const int titleNeeds = titleWidth + 12 * em;  // icon and window buttons beside it
    return std::max(std::clamp(naturalTextWidth, 24 * em, 40 * em), titleNeeds);
}

ErrorWindow::ErrorWindow(const StringTable& strings, const QString& text, QWidget* parent)
    : QDialog(parent), text_(text) {
    setWindowTitle(QString::fromUtf8(kErrorWindowTitle));
    setModal(false);
    auto* label = new QLabel(text);
    // Wide enough for the text on a few lines and for the whole title.
    const QFontMetrics metrics = label->fontMetrics();
    label->setMinimumWidth(messageTextWidth(metrics.horizontalAdvance(text),
                                            metrics.horizontalAdvance(windowTitle()),
                                            metrics.horizontalAdvance(QLatin1Char('x'))));
    // The text may come from the server: never read it as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox;
    buttons
        ->addButton(QString::fromStdString(strings.text(IDS_BUTTON_OK)),
                    QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    // OK, Escape, the close button and closeError all end in finished().
    connect(this, &QDialog::finished, this, &QObject::deleteLater);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vellix
