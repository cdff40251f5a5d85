#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringView>

namespace {

// Views, not copies: every lookup looks at every line of the file.
bool IsSectionLine(QStringView line, QStringView* name) {
    const QStringView t = line.trimmed();
    if (!t.startsWith(u'[') || !t.endsWith(u']')) return false;
    if (name) *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly)) return;
    load(f.readAll());
}

IniFile IniFile::FromBytes(const QByteArray& data, QString path) {
    IniFile ini;
    ini.path_ = std::move(path);
    ini.load(data);
    return ini;
}

void IniFile::load(const QByteArray& data) {
    QString text = QString::fromUtf8(data);
    // Byte-order marks at the start are no part of the first line (the
    // decoder drops only one), so that it is found as the section it names.
    qsizetype marks = 0;
    while (marks < text.size() && text[marks] == QChar(0xFEFF)) ++marks;
    text.remove(0, marks);
    lines_ = text.split(u'\n');
    if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
    for (QString& line : lines_)
        if (line.endsWith(u'\r')) line.chop(1);
}

int IniFile::findSection(const QString& section) const {
    QStringView name;
    for (int i = 0; i < lines_.size(); ++i)
        if (IsSectionLine(lines_[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key, QString* value) const {
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        const QStringView line = lines_[i];
        if (IsSectionLine(line, nullptr)) break;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.trimmed().startsWith(u';')) continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) continue;
        if (value) *value = line.mid(eq + 1).trimmed().toString();
        return i;
    }
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const int s = findSection(section);
    QString value;
    if (s < 0 || findKey(s, key, &value) < 0) return def;
    return value;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok, 10);
    return ok ? value : def;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString line = key + u'=' + value;
    int s = findSection(section);
    if (s < 0) {
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) lines_.append(QString());
        lines_.append(u'[' + section + u']');
        lines_.append(line);
        return;
    }
    const int k = findKey(s, key, nullptr);
    if (k >= 0) {
        lines_[k] = line;
        return;
    }
    // After the section's last non-blank line, so that a blank line that
    // separates it from the next section stays in place.
    int at = s + 1;
    for (int i = s + 1; i < lines_.size() && !IsSectionLine(lines_[i], nullptr); ++i)
        if (!lines_[i].trimmed().isEmpty()) at = i + 1;
    lines_.insert(at, line);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::UpdateFile() const {
    const auto fail = [this]() { throw IniError("Unable to write to " + QFile::encodeName(path_).toStdString()); };
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) fail();
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) fail();
    const QByteArray data = Bytes();
    if (f.write(data) != data.size() || !f.commit()) fail();
}

QByteArray IniFile::Bytes() const {
    QByteArray data;
    for (const QString& line : lines_) {
        data += line.toUtf8();
        data += "\r\n";
    }
    return data;
}

QString SettingsFilePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/varno/VARNO.INI");
}
