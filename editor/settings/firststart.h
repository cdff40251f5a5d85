#pragma once
// Varno's first start: a user without a settings file gets a copy of their own
// of the demo game that comes with the program, and settings that name its
// scenario, so that pressing Read is all a newcomer has to do.
#include <QString>

namespace varno {

class FirstStart {
public:
    // installedDemo: the demo game as installed (read only); userDemo: where the
    // user's copy goes; settingsFile: the settings file whose absence means a
    // first start.
    FirstStart(QString installedDemo, QString userDemo, QString settingsFile);

    // The folders of this program: the demo beside the executable's folder
    // (<bin>/../share/varno/demo for the usual layout), so that any install
    // prefix and a moved tree work; the user's data folder; the settings file.
    static FirstStart ForThisProgram();

    // <programFolder>/../share/varno/demo, made of the install layout's
    // relative path from the program's folder to the demo's.
    static QString InstalledDemoFolder(const QString& programFolder);
    // $XDG_DATA_HOME/varno/demo, or ~/.local/share/varno/demo when
    // XDG_DATA_HOME is unset or not an absolute path.
    static QString UserDemoFolder();

    // When no settings file exists and the demo game is installed: copies every
    // file of the installed demo that the user's folder lacks (an existing file
    // is never replaced, so the user's edits survive), then writes settings
    // whose scenario is the copy's DEMO.SCN. Returns that path, or an empty
    // string when nothing was to be done or a step failed (see Error()); the
    // program then starts with its usual defaults. Never throws.
    QString Run();

    // Why the last Run did nothing; empty after success or when no first start
    // was due.
    const QString& Error() const { return error_; }

private:
    bool copyDemo();

    QString installedDemo_, userDemo_, settingsFile_, error_;
};

}  // namespace varno
