#include "editor/dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace varno {

namespace {
// Messages may break their lines with a lone carriage return ("Not found: ").
QString BoxText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}
int PromptWidth(const QWidget& dlg, const QString& caption) {
    // The caption in the title bar's bold font, with room for the frame's
    // icon and buttons, so that the whole caption shows.
    QFont title = dlg.font();
    title.setBold(true);
    return QFontMetrics(title).horizontalAdvance(caption) + 140;
}
}  // namespace

void QtDialogs::ShowError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QStringLiteral("Error"), BoxText(message), QMessageBox::Ok);
}

void QtDialogs::ShowMessage(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, QApplication::applicationName(), BoxText(message), QMessageBox::Ok);
}

bool QtDialogs::ConfirmOkCancel(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("Confirm"), question, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

Answer QtDialogs::AskYesNoCancel(QWidget* parent, const QString& question) {
    switch (QMessageBox::question(parent, QStringLiteral("Confirm"), question,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

Answer QtDialogs::AskInformation(QWidget* parent, const QString& question, Buttons buttons) {
    const auto set = buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                  : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), question, set, parent);
    box.setDefaultButton(buttons == Buttons::OkCancel ? QMessageBox::Ok : QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

bool QtDialogs::InputQuery(QWidget* parent, const QString& caption, const QString& prompt, QString& value) {
    QInputDialog dlg(parent);
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(value);
    // The dialog takes its size from its layout: the edit carries the width.
    if (auto* edit = dlg.findChild<QLineEdit*>()) {
        const QMargins m = dlg.layout() ? dlg.layout()->contentsMargins() : QMargins();
        edit->setMinimumWidth(PromptWidth(dlg, caption) - m.left() - m.right());
    }
    if (dlg.exec() != QDialog::Accepted) return false;
    value = dlg.textValue();
    return true;
}

QString QtDialogs::OpenFile(QWidget* parent, const OpenFileRequest& request) {
    QFileDialog dlg(parent, request.title);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    return runFileDialog(dlg, request);
}

bool QtDialogs::EditLines(QWidget* parent, const QString& caption, QStringList& lines, int maxLength) {
    QDialog dlg(parent);
    dlg.setWindowTitle(caption);
    auto* form = new QFormLayout(&dlg);
    QList<QLineEdit*> edits;
    for (int i = 0; i < lines.size(); ++i) {
        // A longer line is shown whole: only what the user edits is limited.
        auto* edit = new QLineEdit(&dlg);
        edit->setMaxLength(std::max(maxLength, static_cast<int>(lines[i].size())));
        edit->setText(lines[i]);
        edit->setMinimumWidth(dlg.fontMetrics().horizontalAdvance(QLatin1Char('x')) * 80);
        form->addRow(QStringLiteral("&%1").arg(i + 1), edit);
        edits.append(edit);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    form->addRow(buttons);
    if (dlg.exec() != QDialog::Accepted) return false;
    for (int i = 0; i < edits.size(); ++i)
        if (edits[i]->isModified()) lines[i] = edits[i]->text().left(maxLength);
    return true;
}

QString QtDialogs::SaveFile(QWidget* parent, const OpenFileRequest& request) {
    QFileDialog dlg(parent, request.title);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    return runFileDialog(dlg, request);
}

QString QtDialogs::runFileDialog(QFileDialog& dlg, const OpenFileRequest& request) {
    // Qt's own dialog: its name filters match in any case, as the game's
    // folders need (they come from systems that ignore case), and it opens
    // where it is told.
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);
    dlg.setNameFilters(request.filters);
    dlg.setDefaultSuffix(request.defaultSuffix);
    dlg.setDirectory(request.initialDir.isEmpty() ? QDir::currentPath()
                                                  : QDir::current().absoluteFilePath(request.initialDir));
    if (!request.fileName.isEmpty()) dlg.selectFile(request.fileName);
    // Large enough for whole names, sizes and dates in the list's columns.
    dlg.setViewMode(QFileDialog::Detail);
    QSize size = dlg.sizeHint().expandedTo(QSize(820, 520));
    if (const QScreen* screen = dlg.parentWidget() ? dlg.parentWidget()->screen() : dlg.screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dlg.resize(size);
    if (dlg.exec() != QDialog::Accepted) return {};
    const QStringList files = dlg.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

int QtDialogs::AskChoice(QWidget* parent, const QString& question, const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), BoxText(question), QMessageBox::NoButton,
                    parent);
    QList<QAbstractButton*> added;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const bool last = i + 1 == buttons.size();
        added.append(box.addButton(buttons[i], i == 0 ? QMessageBox::AcceptRole
                                               : last ? QMessageBox::RejectRole
                                                      : QMessageBox::DestructiveRole));
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added.first()));
        box.setEscapeButton(added.last());
    }
    box.exec();
    const qsizetype at = added.indexOf(box.clickedButton());
    return at < 0 ? static_cast<int>(buttons.size()) - 1 : static_cast<int>(at);
}

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace varno
