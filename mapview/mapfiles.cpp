#include "mapview/mapfiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <cstdint>

#include "mapview/bgrview.h"
#include "scenario/filenames.h"
#include "scenario/inputfile.h"
#include "scenario/scnerror.h"

namespace varno {

std::string MapPicturePath(const std::string& gameDir) { return FindFileNoCase(gameDir, "MAIN1.BMP"); }

std::string MapFilePath(const std::string& gameDir) { return FindFileNoCase(gameDir, "MAIN.MAP"); }

std::string IconSheetPath(const std::string& gameDir) {
    const std::string here = FindFileNoCase(gameDir, "ICONS2D.BMP");
    if (FileExists(here)) return here;
    return FindFileNoCase(ParentDirectory(gameDir), "ICONS2D.BMP");
}

namespace {

// The picture of the widest and longest map (254 x 256 hexes, about 6,650 x
// 7,730 pixels) takes 205 MB in 32 bits; anything that claims more than this
// is refused before memory is taken for it.
constexpr int kPictureLimitMB = 256;

// The usual map picture, an uncompressed 24-bit BMP, read straight into a
// 32-bit image row by row: several times faster than the general reader on a
// picture of 150 MB. Null when the file is of another kind; a file that is
// shorter than its header says is refused.
QImage DecodeBmp24(QIODevice* device, const std::string& name) {
    uchar head[64] = {};
    const qint64 got = device->read(reinterpret_cast<char*>(head), sizeof head);
    const BgrView::BmpLayout layout = BgrView::ParseBmp(head, got > 0 ? static_cast<std::size_t>(got) : 0,
                                                        static_cast<std::uint64_t>(device->size()));
    if (layout.Kind == BgrView::BmpKind::CutShort) throw ScnError("The picture " + name + " is cut short");
    if (layout.Kind != BgrView::BmpKind::Bgr24 || !device->seek(static_cast<qint64>(layout.Offset))) return {};
    QImage image(layout.Width, layout.Height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    const auto stride = static_cast<qint64>(layout.Stride);
    std::vector<uchar> line(static_cast<std::size_t>(stride));
    for (int k = 0; k < layout.Height; ++k) {
        if (device->read(reinterpret_cast<char*>(line.data()), stride) != stride)
            throw ScnError("Cannot read the picture " + name + ": " + device->errorString().toStdString());
        const int y = layout.TopDown ? k : layout.Height - 1 - k;
        BgrView(line.data(), 0, layout.Width, 1)
            .convert(0, 0, layout.Width, 1, 1, reinterpret_cast<std::uint32_t*>(image.scanLine(y)), 0);
    }
    return image;
}

QImage Decode(QIODevice* device, const std::string& name) {
    if (QImage fast = DecodeBmp24(device, name); !fast.isNull()) return fast;
    if (!device->seek(0)) throw ScnError("Cannot read the picture " + name);
    if (QImageReader::allocationLimit() < kPictureLimitMB) QImageReader::setAllocationLimit(kPictureLimitMB);
    QImageReader reader(device);
    // The picture is shown as it is: no rotation from metadata.
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull()) throw ScnError("Cannot load the picture " + name + ": " + reader.errorString().toStdString());
    return image;
}

}  // namespace

QImage LoadPicture(const std::string& path) {
    // A regular file only, judged without blocking (a FIFO would never end).
    platform::File opened = OpenRegularFile(path);
    QFile file;
    if (!file.open(opened.descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        throw ScnError("Cannot read " + path + ": " + file.errorString().toStdString());
    return Decode(&file, path);
}

QImage DecodePicture(const QByteArray& bytes, const std::string& name) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Decode(&buffer, name);
}

std::vector<QImage> CutIcons(const QImage& sheet) {
    const QImage rgb = sheet.convertToFormat(QImage::Format_RGB32);
    std::vector<QImage> icons;
    icons.reserve(kIconCount);
    for (int entry = 0; entry < kIconCount; ++entry) {
        const SheetCell cell = IconSheetCell(entry);
        QImage icon(32, 32, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        for (int y = 0; y < 32; ++y) {
            const int sy = cell.Row * 32 + y;
            if (sy >= rgb.height()) break;
            const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(sy));
            auto* dst = reinterpret_cast<QRgb*>(icon.scanLine(y));
            for (int x = 0; x < 32; ++x) {
                const int sx = cell.Col * 32 + x;
                if (sx >= rgb.width()) break;
                const QRgb p = src[sx] | 0xff000000u;
                // White is the sheet's transparent colour.
                if (p != 0xffffffffu) dst[x] = p;
            }
        }
        icons.push_back(std::move(icon));
    }
    return icons;
}

std::vector<QImage> LoadIconList(const std::string& gameDir) { return CutIcons(LoadPicture(IconSheetPath(gameDir))); }

}  // namespace varno
