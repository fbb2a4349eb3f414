#pragma once
// The base of every page of the options window. The sheet calls these on the GUI thread:
// pageShown each time the page becomes active, pageLeaving before another page (or OK,
// Apply) takes over, applyPage on OK and Apply for every page shown at least once, and
// frameMessage for each message the options frame passes on to its pages.

#include <QWidget>

#include <string>

#include "core/frame_registry.h"

namespace vellix {

// A message to the options frame as its pages see it: its number, wParam and text payload.
struct PageMessage {
    MessageId id = 0;
    WParam w = 0;
    std::string text;
};

class OptionsPage : public QWidget {
    Q_OBJECT
  public:
    explicit OptionsPage(QString title, QWidget* parent = nullptr)
        : QWidget(parent), title_(std::move(title)) {}

    const QString& title() const { return title_; }

    virtual void pageShown() {}
    // False keeps the page active (its check failed and it told the user why).
    virtual bool pageLeaving() { return true; }
    // False stops OK and Apply with this page active.
    virtual bool applyPage() { return true; }
    // A message to the options frame that a page may be waiting for.
    virtual void frameMessage(const PageMessage&) {}

  Q_SIGNALS:
    // The user changed something: the sheet enables Apply.
    void modified();
    // The page asks the whole window to close (it needs a login that is gone).
    void closeRequested();

  private:
    QString title_;
};

}  // namespace vellix
