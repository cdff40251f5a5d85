#include "editor/settings/firststart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "editor/settings/inifile.h"

namespace varno {

#ifndef VARNO_DEMO_FROM_BIN
#define VARNO_DEMO_FROM_BIN "../share/varno/demo"
#endif

namespace {

const QString kDemoScenario = QStringLiteral("DEMO.SCN");

}  // namespace

FirstStart::FirstStart(QString installedDemo, QString userDemo, QString settingsFile)
    : installedDemo_(std::move(installedDemo)), userDemo_(std::move(userDemo)), settingsFile_(std::move(settingsFile)) {
}

FirstStart FirstStart::ForThisProgram() {
    return FirstStart(InstalledDemoFolder(QCoreApplication::applicationDirPath()), UserDemoFolder(),
                      SettingsFilePath());
}

QString FirstStart::InstalledDemoFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + u'/' + QStringLiteral(VARNO_DEMO_FROM_BIN));
}

QString FirstStart::UserDemoFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/varno/demo");
}

QString FirstStart::Run() {
    error_.clear();
    // Settings of any kind mean the user has started before: leave them be.
    if (QFileInfo::exists(settingsFile_)) return {};
    // Run from the build folder there is no installed demo: start as usual.
    if (!QFileInfo::exists(installedDemo_ + u'/' + kDemoScenario)) return {};
    if (!copyDemo()) return {};
    const QString scenario = userDemo_ + u'/' + kDemoScenario;
    try {
        IniFile ini(settingsFile_);
        ini.WriteString(QStringLiteral("Paths"), QStringLiteral("SCNfile"), scenario);
        ini.UpdateFile();
    } catch (const IniError& e) {
        error_ = QString::fromStdString(e.what());
        return {};
    }
    return scenario;
}

bool FirstStart::copyDemo() {
    if (!QDir().mkpath(userDemo_)) {
        error_ = QStringLiteral("Unable to create %1").arg(userDemo_);
        return false;
    }
    const QDir from(installedDemo_);
    for (const QString& name : from.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
        const QString target = userDemo_ + u'/' + name;
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) continue;
        if (!QFile::copy(from.filePath(name), target)) {
            error_ = QStringLiteral("Unable to copy %1 to %2").arg(from.filePath(name), target);
            return false;
        }
        // The installed files may be read-only; the user's copy is there to be
        // edited and saved.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

}  // namespace varno
