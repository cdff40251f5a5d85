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

}  // namespace varno
