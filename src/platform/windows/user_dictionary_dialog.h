#pragma once
// The dictionary editor: the words of the user dictionary, with Add and Remove written to
// the file at once.

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QListWidget;

namespace vellix {

class HunspellSpellingEngine;

class UserDictionaryDialog final : public QDialog {
    Q_OBJECT
  public:
    UserDictionaryDialog(QWidget* owner, HunspellSpellingEngine& engine);

    void addWord(const QString& word);
    void removeSelected();

  private:
    void reload();
    void showError(const std::string& message);

    HunspellSpellingEngine& engine_;
    QListWidget* words_;
    QLineEdit* entry_;
    QLabel* error_;
};

void editUserDictionary(QWidget* owner, HunspellSpellingEngine& engine);

}  // namespace vellix
