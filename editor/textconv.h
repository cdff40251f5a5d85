#pragma once
// Between the core's byte strings and the window's text.
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

// Names and lines of the game's files are single bytes, shown as Latin-1.
inline QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Paths are the file system's bytes.
inline std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
inline QString PathText(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

// An error message may carry a path (file system bytes) or a line of a game
// file (Latin-1): shown as UTF-8 when it is valid UTF-8, else as Latin-1.
// A NUL byte is shown as the visible mark U+2400.
QString MessageText(std::string_view bytes);
