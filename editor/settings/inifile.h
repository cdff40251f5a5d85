#pragma once
// The settings file: an INI file of [sections] and key=value lines.
//
// Read once when the main window is shown, written once when it closes. Keys
// and sections are found ignoring case, values are trimmed; writing keeps the
// other lines of the file as they were, byte for byte (also bytes that are
// not UTF-8), and appends new keys to their section. A file that exists but
// cannot be read (no permission, not a regular file, too large) is never
// written over: the settings start from the defaults and the file stays.
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace varno {

// A settings file that could not be written; the message names the file.
class IniError : public std::runtime_error {
public:
    explicit IniError(const std::string& message) : std::runtime_error(message) {}
};

class IniFile {
public:
    // Loads the file when it exists and can be read; otherwise starts empty.
    // Opening never blocks (a FIFO is not a settings file).
    explicit IniFile(QString path);
    // Settings read from the file's contents; UpdateFile() writes to `path`.
    static IniFile FromBytes(const QByteArray& data, QString path = {});

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A missing key or a value that is not a decimal integer gives `def`.
    int ReadInteger(const QString& section, const QString& key, int def) const;

    // The value's bytes as in the file (paths: the file system's bytes).
    QByteArray ReadBytes(const QString& section, const QString& key, const QByteArray& def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteBytes(const QString& section, const QString& key, const QByteArray& value);
    void WriteInteger(const QString& section, const QString& key, int value);

    // Writes the lines back (CR LF), creating the file's folder when needed;
    // does nothing when the file exists but could not be read.
    // Throws IniError "Unable to write to <file>" on failure.
    void UpdateFile() const;
    // The file exists but could not be read: UpdateFile leaves it alone.
    bool Unreadable() const { return unreadable_; }
    // The file's contents as UpdateFile writes them.
    QByteArray Bytes() const;

private:
    IniFile() = default;
    void load(const QByteArray& data);
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key, QByteArray* value) const;

    QString path_;
    QList<QByteArray> lines_;
    bool unreadable_ = false;
};

// $XDG_CONFIG_HOME/varno/VARNO.INI, or ~/.config/varno/VARNO.INI when
// XDG_CONFIG_HOME is unset or not an absolute path.
QString SettingsFilePath();

}  // namespace varno
