#pragma once
// The questions and notices the editor puts to the user. The windows ask
// through this interface only, so that a test can answer in the user's place.
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace varno {

enum class Answer { Ok, Cancel, Yes, No };

// The buttons of a question.
enum class Buttons { OkCancel, YesNoCancel };

// What the open-file dialog is told.
struct OpenFileRequest {
    QString title;
    QString initialDir;     // empty: the working directory
    QString fileName;       // the name shown at first
    QStringList filters;    // "Name (*.a *.b)", first one chosen
    QString defaultSuffix;  // appended to a name typed without one
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Error box with OK.
    virtual void ShowError(QWidget* parent, const QString& message) = 0;
    // Notice with OK.
    virtual void ShowMessage(QWidget* parent, const QString& message) = 0;
    // Confirmation with OK and Cancel; true for OK.
    virtual bool ConfirmOkCancel(QWidget* parent, const QString& question) = 0;
    // Confirmation with Yes, No and Cancel.
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& question) = 0;
    // A question in an information box (title "Information", information icon).
    virtual Answer AskInformation(QWidget* parent, const QString& question, Buttons buttons) = 0;
    // Text prompt; false when cancelled, else `value` holds the text entered.
    virtual bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value) = 0;
    // Open-file dialog for an existing file; empty when cancelled.
    virtual QString OpenFile(QWidget* parent, const OpenFileRequest& request) = 0;
    // Save-file dialog, asking before it names an existing file; empty when
    // cancelled. One that cannot ask cancels.
    virtual QString SaveFile(QWidget* /*parent*/, const OpenFileRequest& /*request*/) { return {}; }
    // A dialog of one edit per line; false when cancelled, else `lines`
    // holds the texts entered. A line the user edits comes back at most
    // `maxLength` characters; one not edited comes back as given, whatever
    // its length. One that cannot ask cancels.
    virtual bool EditLines(QWidget* /*parent*/, const QString& /*caption*/, QStringList& /*lines*/, int /*maxLength*/) {
        return false;
    }
    // A question answered by one of `buttons` (their texts, with & for the
    // key); returns the index of the one pressed. Escape or closing the box
    // is the last button, which must be the answer that changes nothing. One
    // that cannot ask takes the last.
    virtual int AskChoice(QWidget* /*parent*/, const QString& /*question*/, const QStringList& buttons) {
        return static_cast<int>(buttons.size()) - 1;
    }
    // The error beep.
    virtual void Beep() = 0;
};

// The toolkit's own message boxes, input dialog, file dialog and beep.
class QtDialogs : public Dialogs {
public:
    void ShowError(QWidget* parent, const QString& message) override;
    void ShowMessage(QWidget* parent, const QString& message) override;
    bool ConfirmOkCancel(QWidget* parent, const QString& question) override;
    Answer AskYesNoCancel(QWidget* parent, const QString& question) override;
    Answer AskInformation(QWidget* parent, const QString& question, Buttons buttons) override;
    bool InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value) override;
    QString OpenFile(QWidget* parent, const OpenFileRequest& request) override;
    QString SaveFile(QWidget* parent, const OpenFileRequest& request) override;
    bool EditLines(QWidget* parent, const QString& caption, QStringList& lines, int maxLength) override;
    int AskChoice(QWidget* parent, const QString& question, const QStringList& buttons) override;
    void Beep() override;

private:
    // Sets up the open or save dialog as the request says and runs it; the
    // file chosen, or empty.
    static QString runFileDialog(QFileDialog& dlg, const OpenFileRequest& request);
};

}  // namespace varno
