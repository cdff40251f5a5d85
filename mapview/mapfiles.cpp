#include "mapfiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "FileNames.h"
#include "ScnError.h"

std::string MapPicturePath(const std::string& gameDir) {
    return FindFileNoCase(gameDir, "MAIN1.BMP");
}

std::string MapFilePath(const std::string& gameDir) {
    return FindFileNoCase(gameDir, "MAIN.MAP");
}

std::string IconSheetPath(const std::string& gameDir) {
    const std::string here = FindFileNoCase(gameDir, "ICONS2D.BMP");
    if (FileExists(here)) return here;
    return FindFileNoCase(ParentDirectory(gameDir), "ICONS2D.BMP");
}

namespace {

QImage Decode(QIODevice* device, const std::string& name) {
    QImageReader reader(device);
    // The picture is shown as it is: no rotation from metadata.
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull())
        throw ScnError("Cannot load the picture " + name + ": " + reader.errorString().toStdString());
    return image;
}

}  // namespace

QImage LoadPicture(const std::string& path) {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly))
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

std::vector<QImage> LoadIconList(const std::string& gameDir) {
    return CutIcons(LoadPicture(IconSheetPath(gameDir)));
}
