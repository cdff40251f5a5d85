#include "textconv.h"

#include <QStringDecoder>

QString MessageText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError()) text = Latin1(bytes);
    // A NUL byte of a file's line would end the text in the box: shown as a mark.
    text.replace(QChar(u'\0'), QChar(0x2400));
    return text;
}
