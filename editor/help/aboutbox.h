#pragma once
// Help > About: the program's version and licence, where its settings file,
// the demo game and the manual are, and the Qt it runs on. A window of its
// own (not a modal box): Close or Esc closes it.
#include <QDialog>
#include <QString>

class QLabel;

namespace varno {

// What the About box tells of a program; an empty path is left out.
struct AboutFacts {
    QString Program;        // "Varno"
    QString Version;        // "0.1"
    QString Summary;        // what the program is, one sentence
    QString Copyright;      // the licence's copyright line
    QString LicenceFile;    // the licence's full text as installed
    QString SettingsFile;   // the settings file (it may not exist yet)
    QString UserDemo;       // the user's copy of the demo game
    QString InstalledDemo;  // the demo game as installed
    QString Manual;         // the folder of the user manual
};

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(const AboutFacts& facts, QWidget* parent = nullptr);

    // The text shown, as rich text.
    static QString Text(const AboutFacts& facts);

    QLabel* lblText = nullptr;
};

}  // namespace varno
