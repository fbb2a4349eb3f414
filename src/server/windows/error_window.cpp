#include "server/windows/error_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellix {

ErrorWindow::ErrorWindow(const StringTable& strings, const QString& text, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kErrorWindowTitle));
    setModal(false);
    auto* label = new QLabel(text);
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
