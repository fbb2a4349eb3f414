#pragma once
// Finding and answering widgets as a user sees them: by their texts, and modal dialogs as
// they open. For the suites that build widgets.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <string>

namespace vellix::test {

// The push button under `parent` showing `text`, or nullptr.
inline QPushButton* buttonWithText(const QWidget& parent, const std::string& text) {
    for (auto* b : parent.findChildren<QPushButton*>()) {
        if (b->text() == QString::fromStdString(text)) return b;
    }
    return nullptr;
}

// The widget a label showing `text` under `parent` stands for, or nullptr.
inline QWidget* labelledField(const QWidget& parent, const QString& text) {
    for (auto* label : parent.findChildren<QLabel*>()) {
        if (label->text() == text) return label->buddy();
    }
    return nullptr;
}

// Acts on the next modal dialog of type D once it shows; runs inside the dialog's own loop.
template <class D>
void whenModal(std::function<void(D&)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start(5);
}

}  // namespace vellix::test
