#include "editor/settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringView>

#include "editor/widgets/textconv.h"
#include "scenario/inputfile.h"
#include "scenario/platform/platform.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

// Views, not copies: every lookup looks at every line of the file.
bool IsSectionLine(QByteArrayView line, QByteArrayView* name) {
    const QByteArrayView t = line.trimmed();
    if (!t.startsWith('[') || !t.endsWith(']')) return false;
    if (name) *name = t.sliced(1, t.size() - 2).trimmed();
    return true;
}

bool SameNoCase(QByteArrayView a, const QString& b) { return a.compare(b.toUtf8(), Qt::CaseInsensitive) == 0; }

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
    const std::string bytes = PathBytes(path_);
    platform::FileInfo info;
    if (platform::InfoOf(bytes, info, false) || info.Kind == platform::FileKind::Missing)
        return;  // no file yet: written at closing
    try {
        const std::string data = ReadTextFile(bytes);
        load(QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    } catch (const ScnError&) {
        unreadable_ = true;
    }
}

IniFile IniFile::FromBytes(const QByteArray& data, QString path) {
    IniFile ini;
    ini.path_ = std::move(path);
    ini.load(data);
    return ini;
}

void IniFile::load(const QByteArray& data) {
    QByteArrayView text(data);
    // Byte-order marks at the start are no part of the first line, so that
    // it is found as the section it names.
    while (text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
    lines_ = text.toByteArray().split('\n');
    if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
    for (QByteArray& line : lines_)
        if (line.endsWith('\r')) line.chop(1);
}

int IniFile::findSection(const QString& section) const {
    QByteArrayView name;
    for (int i = 0; i < lines_.size(); ++i)
        if (IsSectionLine(lines_[i], &name) && SameNoCase(name, section)) return i;
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key, QByteArray* value) const {
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        const QByteArrayView line = lines_[i];
        if (IsSectionLine(line, nullptr)) break;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.trimmed().startsWith(';')) continue;
        if (!SameNoCase(line.first(eq).trimmed(), key)) continue;
        if (value) *value = line.sliced(eq + 1).trimmed().toByteArray();
        return i;
    }
    return -1;
}

QByteArray IniFile::ReadBytes(const QString& section, const QString& key, const QByteArray& def) const {
    const int s = findSection(section);
    QByteArray value;
    if (s < 0 || findKey(s, key, &value) < 0) return def;
    return value;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const int s = findSection(section);
    QByteArray value;
    if (s < 0 || findKey(s, key, &value) < 0) return def;
    // A leading U+FEFF is part of the value, not a byte-order mark to drop;
    // a sequence cut at the end is a character that is not UTF-8 (U+FFFD).
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    return utf8.decode(value);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok, 10);
    return ok ? value : def;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteBytes(section, key, value.toUtf8());
}

void IniFile::WriteBytes(const QString& section, const QString& key, const QByteArray& value) {
    const QByteArray line = key.toUtf8() + '=' + value;
    int s = findSection(section);
    if (s < 0) {
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) lines_.append(QByteArray());
        lines_.append('[' + section.toUtf8() + ']');
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
    // The user's file stays as it is when it could not be read.
    if (unreadable_) return;
    const auto fail = [this]() { throw IniError("Unable to write to " + PathBytes(path_)); };
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) fail();
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly)) fail();
    const QByteArray data = Bytes();
    if (f.write(data) != data.size() || !f.commit()) fail();
}

QByteArray IniFile::Bytes() const {
    QByteArray data;
    for (const QByteArray& line : lines_) {
        data += line;
        data += "\r\n";
    }
    return data;
}

QString SettingsFilePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/varno/VARNO.INI");
}

}  // namespace varno
