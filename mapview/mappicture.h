#pragma once
// The map picture MAIN1.BMP as the map window shows it. An uncompressed 24-bit
// BMP (the kind the game ships) is mapped, not read: only the part on the
// screen is converted, when it is painted, so the largest map opens at once.
// Half and quarter size copies, made once in the background, draw the picture
// below 100 %. Other kinds of picture are decoded whole. Memory beyond the
// mapped file: the two copies (a third of the file) and one view's pixels.
#include <QImage>
#include <QRect>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mapview/bgrview.h"
#include "scenario/platform/platform.h"

class QPainter;

namespace varno {

class MapPicture {
public:
    MapPicture() = default;  // no picture
    ~MapPicture();
    MapPicture(const MapPicture&) = delete;
    MapPicture& operator=(const MapPicture&) = delete;

    // The picture file, checked as every file we read (a regular file, not
    // cut short). Throws ScnError with a message for the user.
    static std::shared_ptr<MapPicture> Load(const std::string& path);
    // A picture decoded already (any format).
    static std::shared_ptr<MapPicture> FromImage(const QImage& image);

    bool isNull() const { return full_.isNull(); }
    int width() const { return full_.width(); }
    int height() const { return full_.height(); }
    QSize size() const { return {width(), height()}; }
    QRect rect() const { return {0, 0, width(), height()}; }
    // Pixel (x, y) of the picture, 0xffRRGGBB; (x, y) must be inside.
    QRgb pixel(int x, int y) const { return full_.pixel(x, y); }
    // The pixels come from the mapped file.
    bool mapped() const { return file_.data() != nullptr; }
    // Bytes held beyond the mapped file: a decoded picture, the smaller copies,
    // the last view's pixels.
    std::size_t heapBytes() const;

    // Paints the part `area` of the picture magnified to `percent` (a zoom
    // step), where `area` is in the magnified picture's pixels, at that place.
    void draw(QPainter& p, const QRect& area, int percent) const;
    // The copy drawn at `percent` below 100 (waiting for it if it is still
    // being made), else the picture itself.
    const BgrView& level(int percent) const;

private:
    void startSmaller();
    void waitSmaller() const;

    platform::MappedFile file_;
    QImage decoded_;  // the pixels of a picture that is not mapped
    BgrView full_;
    std::vector<std::uint8_t> halfStore_, quarterStore_;
    BgrView half_, quarter_;
    mutable std::thread maker_;  // makes the smaller copies
    std::atomic<bool> stop_{false};
    mutable QImage scratch_;  // the pixels of the last area drawn
};

}  // namespace varno
