#include "mapsum/app/main_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "mapsum/app/prompter.h"
#include "mapsum/app/quillet_run.h"

namespace quillet {

namespace {

// Dialog units: a quarter of the average character width across, an eighth
// of the character height down, so the layout follows the font.
class DialogUnits {
public:
    // `top`: pixels above the dialog's area (its menu bar).
    DialogUnits(const QFont& font, int top) : top_(top) {
        const QFontMetricsF fm(font);
        const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        x_ = fm.horizontalAdvance(sample) / sample.size() / 4.0;
        y_ = fm.height() / 8.0;
    }
    int x(int units) const { return qRound(units * x_); }
    int y(int units) const { return qRound(units * y_); }
    void place(QWidget* w, int x0, int y0, int width, int height) const {
        w->setGeometry(x(x0), top_ + y(y0), x(width), y(height));
    }

private:
    double x_ = 1.5;
    double y_ = 1.625;
    int top_ = 0;
};

}  // namespace

MainDialog::MainDialog(Prompter& prompter, QWidget* parent)
    // A modal frame with its system menu (and the close box that goes with
    // it), no minimise or maximise.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      prompter_(prompter) {
    setObjectName(QStringLiteral("DIALOG_1"));
    setWindowTitle(kProgramTitle);
    setModal(true);
    // Help > About Quillet, in a menu bar above the dialog's controls.
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* about = help->addAction(QStringLiteral("&About Quillet"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, [this] {
        prompter_.show_message(this, QStringLiteral("About Quillet"), about_text(), Prompter::Icon::information);
    });
    const int top = bar->sizeHint().height();
    const DialogUnits du(font(), top);

    auto button = [&](int id, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QStringLiteral("button%1").arg(id));
        // No button is a default one: Enter presses only the button that
        // has the focus.
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, id] { main_dialog_proc(id); });
        return b;
    };

    auto* input_label = new QLabel(QStringLiteral("MAP File Name"), this);
    du.place(input_label, 5, 6, 57, 8);

    input_edit_ = new QLineEdit(QStringLiteral("main.map"), this);
    input_edit_->setObjectName(QStringLiteral("edit%1").arg(kInputName));
    du.place(input_edit_, 5, 17, 147, 12);

    du.place(button(kBrowseInput, QStringLiteral("Browse...")), 160, 16, 40, 14);

    auto* group = new QGroupBox(QStringLiteral("File Conversion"), this);
    du.place(group, 2, 37, 204, 69);

    convert_box_ = new QCheckBox(QStringLiteral("Convert MAP File"), this);
    convert_box_->setObjectName(QStringLiteral("check%1").arg(kConvert));
    convert_box_->setChecked(false);
    du.place(convert_box_, 7, 53, 85, 10);

    auto* output_label = new QLabel(QStringLiteral("Converted MAP File Name"), this);
    du.place(output_label, 7, 72, 100, 8);

    output_edit_ = new QLineEdit(QStringLiteral("newmain.map"), this);
    output_edit_->setObjectName(QStringLiteral("edit%1").arg(kOutputName));
    du.place(output_edit_, 6, 85, 147, 12);

    du.place(button(kBrowseOutput, QStringLiteral("Browse...")), 161, 83, 40, 14);
    du.place(button(kContinue, QStringLiteral("Continue")), 39, 115, 40, 22);
    du.place(button(kCancel, QStringLiteral("Cancel")), 126, 115, 40, 22);

    setFixedSize(du.x(208), top + du.y(144));
    bar->setGeometry(0, 0, width(), top);
    input_edit_->setFocus();
}

bool MainDialog::main_dialog_proc(int id) {
    switch (id) {
    case kContinue:
        convert_wanted_ = convert_box_->isChecked();
        input_name_ = input_edit_->text();
        output_name_ = output_edit_->text();
        done(1);
        return true;
    case kCancel: done(0); return true;
    case kBrowseInput:
    case kBrowseOutput: browse(id); return true;
    default: return false;
    }
}

void MainDialog::browse(int id) {
    browse_file_.clear();
    const QString picked = prompter_.open_file_name(this, QStringLiteral("Select MAP file"), browse_dir_,
                                                    QStringLiteral("Map File (*.map)"), id == kBrowseInput);
    if (picked.isEmpty()) return;
    browse_file_ = picked;
    (id == kBrowseInput ? input_edit_ : output_edit_)->setText(browse_file_);
    const qsizetype cut = browse_file_.lastIndexOf(QLatin1Char('/'));
    if (cut < 0)
        browse_dir_.clear();
    else
        browse_dir_ = cut == 0 ? QStringLiteral("/") : browse_file_.left(cut);
}

void MainDialog::reject() {}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* b = qobject_cast<QPushButton*>(focusWidget())) b->click();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    done(0);
    event->accept();
}

}  // namespace quillet
