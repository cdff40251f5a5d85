#pragma once
// Between the core's byte strings and the window's text.
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <string>
#include <string_view>

namespace varno {

// Names and lines of the game's files are single bytes, shown as Latin-1.
inline QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A line typed for a game file: Latin-1 where every character is, else
// UTF-8; at most `limit` characters.
inline std::string LineBytes(QString text, int limit) {
    text.truncate(limit);
    for (const QChar c : text)
        if (c.unicode() > 0xFF) return text.toUtf8().toStdString();
    return text.toLatin1().toStdString();
}

// Paths are the file system's bytes; on Windows the core takes them as UTF-8
// (scenario/platform/platform.h).
inline std::string PathBytes(const QString& path) {
#ifdef Q_OS_WIN
    return path.toUtf8().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}
// The reverse of PathBytes for every name: a leading U+FEFF is part of the
// name, not a byte-order mark to drop (as QFile::decodeName would).
inline QString PathText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// The bytes of a path that a file dialog gave as text. A name that is not
// UTF-8 comes back from the dialog with U+FFFD in it: its folder's entry whose
// name shows as that text is the one chosen (when exactly one does).
std::string ChosenPathBytes(const QString& chosen);

// An error message may carry a path (file system bytes) or a line of a game
// file (Latin-1): shown by the core's message rule (messagetext.h): UTF-8
// where the bytes are UTF-8, Latin-1 elsewhere, every control character but
// CR and LF as its control picture (NUL as U+2400).
QString MessageText(std::string_view bytes);

}  // namespace varno
