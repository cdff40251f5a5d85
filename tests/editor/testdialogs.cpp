#include "tests/editor/testdialogs.h"

#include <utility>

using namespace varno;

QStringList TestDialogs::texts(Kind kind) const {
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == kind) out << s.text;
    return out;
}

void TestDialogs::clearShown() {
    shown.clear();
    openRequests.clear();
    promptCaptions.clear();
    beeps = 0;
    unanswered = 0;
}

Answer TestDialogs::nextAnswer() {
    if (answers_.isEmpty()) {
        ++unanswered;
        return Answer::Cancel;
    }
    return answers_.dequeue();
}

void TestDialogs::ShowError(QWidget*, const QString& message) { shown.append({Kind::Error, message}); }

void TestDialogs::ShowMessage(QWidget*, const QString& message) { shown.append({Kind::Message, message}); }

bool TestDialogs::ConfirmOkCancel(QWidget*, const QString& question) {
    shown.append({Kind::Question, question});
    return nextAnswer() == Answer::Ok;
}

Answer TestDialogs::AskYesNoCancel(QWidget*, const QString& question) {
    shown.append({Kind::Question, question});
    return nextAnswer();
}

Answer TestDialogs::AskInformation(QWidget*, const QString& question, Buttons) {
    shown.append({Kind::Information, question});
    return nextAnswer();
}

bool TestDialogs::InputQuery(QWidget*, const QString& caption, const QString& prompt, QString& value) {
    shown.append({Kind::Prompt, prompt});
    promptCaptions.append(caption);
    if (inputs_.isEmpty()) {
        ++unanswered;
        return false;
    }
    const std::optional<QString> text = inputs_.dequeue();
    if (!text) return false;
    value = *text;
    return true;
}

QString TestDialogs::OpenFile(QWidget*, const OpenFileRequest& request) {
    shown.append({Kind::OpenFile, request.initialDir});
    openRequests.append(request);
    if (files_.isEmpty()) {
        ++unanswered;
        return {};
    }
    return files_.dequeue();
}

bool TestDialogs::EditLines(QWidget*, const QString& caption, QStringList& lines, int maxLength) {
    shown.append({Kind::Lines, caption});
    linesShown.append(lines);
    if (lines_.isEmpty()) {
        ++unanswered;
        return false;
    }
    const std::optional<QStringList> answer = lines_.dequeue();
    if (!answer) return false;
    // As the dialog does: only an edited line is limited.
    const QStringList given = std::exchange(lines, *answer);
    for (int i = 0; i < lines.size(); ++i)
        if (i >= given.size() || lines[i] != given[i]) lines[i].truncate(maxLength);
    return true;
}

QString TestDialogs::SaveFile(QWidget*, const OpenFileRequest& request) {
    shown.append({Kind::SaveFile, request.title});
    saveRequests.append(request);
    if (files_.isEmpty()) {
        ++unanswered;
        return {};
    }
    return files_.dequeue();
}

int TestDialogs::AskChoice(QWidget*, const QString& question, const QStringList& buttons) {
    shown.append({Kind::Choice, question});
    choicesShown.append(buttons);
    if (choices_.isEmpty()) {
        ++unanswered;
        return static_cast<int>(buttons.size()) - 1;
    }
    return choices_.dequeue();
}
