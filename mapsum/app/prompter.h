// Message boxes and the open-file dialog go through this interface so that the
// program shows real ones and the tests answer them without blocking.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace quillet {

class Prompter {
public:
    enum class Icon { none, information, warning };

    virtual ~Prompter() = default;

    // A modal message box with an OK button.
    virtual void show_message(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;

    // An open-file dialog; returns the chosen file's full path, or an empty
    // string when the user cancels. With `must_exist` only an existing file
    // can be chosen.
    virtual QString open_file_name(QWidget* parent, const QString& title, const QString& dir, const QString& filter,
                                   bool must_exist) = 0;
};

// Shows Qt's own message boxes and file dialogs.
class QtPrompter : public Prompter {
public:
    void show_message(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    QString open_file_name(QWidget* parent, const QString& title, const QString& dir, const QString& filter,
                           bool must_exist) override;

    // Sets up `dialog` as open_file_name shows it; the filter patterns match
    // names in any case.
    static void configure_file_dialog(QFileDialog& dialog, const QString& title, const QString& dir,
                                      const QString& filter, bool must_exist);
};

}  // namespace quillet
