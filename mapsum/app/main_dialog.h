// DIALOG_1: the one dialog of Quillet, asking for the map file and whether a
// converted copy is to be written.
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QCloseEvent;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace quillet {

class Prompter;

class MainDialog : public QDialog {
    Q_OBJECT

public:
    // Control identifiers; each control's object name carries its identifier.
    enum Id {
        kCancel = 121,
        kContinue = 122,
        kInputName = 123,
        kBrowseInput = 124,
        kConvert = 125,
        kOutputName = 126,
        kBrowseOutput = 127,
    };

    explicit MainDialog(Prompter& prompter, QWidget* parent = nullptr);

    // Handles the command of the control `id`; false for any other identifier.
    bool main_dialog_proc(int id);

    // Filled when the user presses Continue.
    const QString& input_name() const { return input_name_; }
    const QString& output_name() const { return output_name_; }
    bool convert_wanted() const { return convert_wanted_; }

    // Where the file dialogs start: "." at first, then the directory of the
    // last file picked with either Browse button.
    const QString& browse_dir() const { return browse_dir_; }

public slots:
    // Escape and the dialog's own cancel command do not end this dialog.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The close box ends the dialog as Cancel does.
    void closeEvent(QCloseEvent* event) override;

private:
    void browse(int id);

    Prompter& prompter_;
    QLineEdit* input_edit_ = nullptr;
    QLineEdit* output_edit_ = nullptr;
    QCheckBox* convert_box_ = nullptr;

    QString input_name_;
    QString output_name_;
    bool convert_wanted_ = false;
    QString browse_dir_ = QStringLiteral(".");
    QString browse_file_;
};

}  // namespace quillet
