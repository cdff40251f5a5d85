// Answers Quillet's message boxes and file dialogs for the tests: records
// every box, and hands out queued file names (an empty one cancels).
#pragma once

#include <QQueue>
#include <QString>
#include <QVector>

#include "mapsum/app/prompter.h"

namespace quillet_test {

struct Shown {
    QString title;
    QString text;
    quillet::Prompter::Icon icon;
};

struct FileRequest {
    QString title;
    QString dir;
    QString filter;
    bool must_exist;
};

class FakePrompter : public quillet::Prompter {
public:
    void show_message(QWidget*, const QString& title, const QString& text, Icon icon) override {
        shown.append({title, text, icon});
    }
    QString open_file_name(QWidget*, const QString& title, const QString& dir, const QString& filter,
                           bool must_exist) override {
        requests.append({title, dir, filter, must_exist});
        return answers.isEmpty() ? QString() : answers.dequeue();
    }
    void setNextFileName(const QString& name) { answers.enqueue(name); }

    QVector<Shown> shown;
    QVector<FileRequest> requests;
    QQueue<QString> answers;
};

}  // namespace quillet_test
