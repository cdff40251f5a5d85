#include "mapview/stackimage.h"

#include "mapview/hexgeom.h"

namespace varno {

TStackImage::TStackImage(int col, int row, int seq)
    : Seq(seq), Tag(HexKey(col, row) << 16), Canvas(32, 32, QImage::Format_ARGB32_Premultiplied) {
    const PixelPos corner = StackCorner(col, row);
    Left = corner.X;
    Top = corner.Y;
    Canvas.fill(Qt::transparent);
}

QString TStackImage::Hint() const {
    QString hint;
    for (const std::string& code : Codes) {
        if (!hint.isEmpty()) hint += QLatin1Char(',');
        hint += QString::fromLatin1(code);
    }
    return hint;
}

}  // namespace varno
