#include "mapsum/app/prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace quillet {

void QtPrompter::show_message(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    if (icon == Icon::information) qicon = QMessageBox::Information;
    if (icon == Icon::warning) qicon = QMessageBox::Warning;
    QMessageBox box(qicon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtPrompter::configure_file_dialog(QFileDialog& dialog, const QString& title, const QString& dir,
                                       const QString& filter, bool must_exist) {
    dialog.setWindowTitle(title);
    // Qt's own dialog on every desktop, so the filter behaves the same.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    // Map files come as MAIN.MAP as often as main.map.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setDirectory(dir);
}

QString QtPrompter::open_file_name(QWidget* parent, const QString& title, const QString& dir, const QString& filter,
                                   bool must_exist) {
    QFileDialog dialog(parent);
    configure_file_dialog(dialog, title, dir, filter, must_exist);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace quillet
