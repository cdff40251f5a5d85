#pragma once
// Answers the editor's questions in the user's place and records every box,
// prompt, file dialog and beep. Answers are queued before the action that
// asks; a question with no queued answer is counted in `unanswered` and
// answered Cancel, so that a test never waits on a dialog.
#include <QList>
#include <QQueue>
#include <QStringList>
#include <optional>

#include "editor/dialogs.h"

using namespace varno;

class TestDialogs : public Dialogs {
public:
    enum class Kind { Error, Message, Question, Information, Prompt, OpenFile, SaveFile, Lines, Choice };
    struct Shown {
        Kind kind;
        QString text;
    };

    // Queued answers, taken in order.
    void setNextAnswer(Answer a) { answers_.enqueue(a); }
    // The file the next open-file or save-file dialog returns; an empty name cancels it.
    void setNextFileName(const QString& name) { files_.enqueue(name); }
    // The text the next prompt returns; nullopt cancels it.
    void setNextInput(std::optional<QString> text) { inputs_.enqueue(std::move(text)); }
    // The lines the next lines dialog returns; nullopt cancels it. The lines
    // it was shown are kept in `linesShown`.
    void setNextLines(std::optional<QStringList> lines) { lines_.enqueue(std::move(lines)); }
    QList<QStringList> linesShown;
    // The index of the button the next choice presses; without one, the last.
    // The buttons it was shown are kept in `choicesShown`.
    void setNextChoice(int index) { choices_.enqueue(index); }
    QList<QStringList> choicesShown;

    // What was shown, in order, and what is left of it by kind.
    QList<Shown> shown;
    QStringList texts(Kind kind) const;
    QStringList errors() const { return texts(Kind::Error); }
    QStringList questions() const { return texts(Kind::Question); }
    QStringList informations() const { return texts(Kind::Information); }
    QList<OpenFileRequest> openRequests;
    QList<OpenFileRequest> saveRequests;
    QStringList promptCaptions;  // the window captions of the prompts, in order
    int beeps = 0;
    int unanswered = 0;
    // Forgets what was shown (not the queued answers).
    void clearShown();
    bool allAnswersUsed() const {
        return answers_.isEmpty() && files_.isEmpty() && inputs_.isEmpty() && lines_.isEmpty() && choices_.isEmpty();
    }

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
    void Beep() override { ++beeps; }

private:
    Answer nextAnswer();
    QQueue<Answer> answers_;
    QQueue<QString> files_;
    QQueue<std::optional<QString>> inputs_;
    QQueue<std::optional<QStringList>> lines_;
    QQueue<int> choices_;
};
