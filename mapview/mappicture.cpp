#include "mapview/mappicture.h"

#include <QPainter>
#include <algorithm>
#include <system_error>

#include "mapview/mapfiles.h"
#include "scenario/inputfile.h"
#include "scenario/platform/platform.h"
#include "scenario/scnerror.h"

namespace varno {

MapPicture::~MapPicture() {
    stop_ = true;
    if (maker_.joinable()) maker_.join();
}

std::shared_ptr<MapPicture> MapPicture::Load(const std::string& path) {
    // A regular file only, judged without blocking (a FIFO would never end).
    platform::File file = OpenRegularFile(path);
    platform::FileInfo info;
    std::error_code ec = file.info(info);
    std::uint8_t head[64] = {};
    const std::size_t got = ec ? 0 : file.readAt(head, sizeof head, 0, ec);
    if (ec) throw ScnError("Cannot read " + path + ": " + ec.message());
    const BgrView::BmpLayout layout = BgrView::ParseBmp(head, got, info.Size);
    if (layout.Kind == BgrView::BmpKind::CutShort) throw ScnError("The picture " + path + " is cut short");
    if (layout.Kind == BgrView::BmpKind::Other) return FromImage(LoadPicture(path));

    auto picture = std::make_shared<MapPicture>();
    try {
        picture->file_ = platform::MappedFile(file, static_cast<std::size_t>(layout.End));
    } catch (const std::system_error& e) {
        throw ScnError("Cannot read " + path + ": " + e.code().message());
    }
    picture->full_ = BgrView::OfBmp(picture->file_.data(), layout);
    picture->startSmaller();
    return picture;
}

std::shared_ptr<MapPicture> MapPicture::FromImage(const QImage& image) {
    auto picture = std::make_shared<MapPicture>();
    if (image.isNull()) return picture;
    // Bytes B, G, R in memory, as in the file.
    picture->decoded_ = image.convertToFormat(QImage::Format_BGR888);
    const QImage& d = picture->decoded_;
    picture->full_ = BgrView(d.constBits(), d.bytesPerLine(), d.width(), d.height());
    picture->startSmaller();
    return picture;
}

void MapPicture::startSmaller() {
    maker_ = std::thread([this] {
        // Behind whatever the program does meanwhile.
        platform::LowerThreadPriority();
        half_ = full_.halved(halfStore_, &stop_);
        quarter_ = half_.halved(quarterStore_, &stop_);
    });
}

void MapPicture::waitSmaller() const {
    if (maker_.joinable()) maker_.join();
}

const BgrView& MapPicture::level(int percent) const {
    if (percent >= 100) return full_;
    waitSmaller();
    return percent > 25 ? half_ : quarter_;
}

std::size_t MapPicture::heapBytes() const {
    waitSmaller();
    return static_cast<std::size_t>(decoded_.sizeInBytes()) + halfStore_.capacity() + quarterStore_.capacity() +
           static_cast<std::size_t>(scratch_.sizeInBytes());
}

void MapPicture::draw(QPainter& p, const QRect& area, int percent) const {
    if (isNull()) return;
    const BgrView& from = level(percent);
    // The copy's pixels magnified by a whole number: 1 below 100 %.
    const int base = percent >= 100 ? 100 : percent > 25 ? 50 : 25;
    const int scale = percent / base;
    const QRect shown = area & QRect(0, 0, from.width() * scale, from.height() * scale);
    if (shown.isEmpty()) return;
    if (scale * base != percent) {
        // Not a zoom step: the nearest copy, scaled as it is drawn.
        const QRect source(shown.x() * base / percent, shown.y() * base / percent, shown.width() * base / percent + 2,
                           shown.height() * base / percent + 2);
        QImage part(source.size(), QImage::Format_RGB32);
        from.convert(source.x(), source.y(), source.width(), source.height(), 1,
                     reinterpret_cast<std::uint32_t*>(part.bits()), part.bytesPerLine() / 4);
        p.drawImage(QRectF(source.x() * percent / double(base), source.y() * percent / double(base),
                           source.width() * percent / double(base), source.height() * percent / double(base)),
                    part);
        return;
    }
    // One buffer, kept from paint to paint, for the area's pixels.
    if (scratch_.width() < shown.width() || scratch_.height() < shown.height())
        scratch_ = QImage(std::max(shown.width(), scratch_.width()), std::max(shown.height(), scratch_.height()),
                          QImage::Format_RGB32);
    from.convert(shown.x(), shown.y(), shown.width(), shown.height(), scale,
                 reinterpret_cast<std::uint32_t*>(scratch_.bits()), scratch_.bytesPerLine() / 4);
    p.drawImage(shown.topLeft(), scratch_, QRect(QPoint(0, 0), shown.size()));
}

}  // namespace varno
