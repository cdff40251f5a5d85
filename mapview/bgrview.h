#pragma once
// A 24-bit picture lying in memory as bytes B, G, R per pixel, rows a fixed
// step apart (negative for a bottom-up BMP): the pixel rows of an
// uncompressed 24-bit BMP where the file is mapped, or a copy made from it.
// Converts any rectangle into 32-bit pixels (0xffRRGGBB) when it is shown, so
// the picture never has to be decoded whole. Plain C++ without Qt.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace varno {

class BgrView {
public:
    // The largest picture taken: 256 MB as 32-bit pixels (the largest map is
    // 205 MB), at most 32,767 pixels a side.
    static constexpr std::uint64_t kPixelLimit = 64ull * 1024 * 1024;
    static constexpr int kSideLimit = 32767;

    // What a file's bytes are as a 24-bit BMP.
    enum class BmpKind {
        Bgr24,    // an uncompressed 24-bit BMP within the limits: FromBmp takes it
        Other,    // another kind of picture (or of BMP), for a general reader
        CutShort  // a 24-bit BMP whose pixel rows the file does not hold
    };
    struct BmpLayout {
        BmpKind Kind = BmpKind::Other;
        int Width = 0, Height = 0;
        bool TopDown = false;
        std::uint64_t Offset = 0;  // of the first row in the file
        std::uint64_t Stride = 0;  // bytes a row, padded to 4
        std::uint64_t End = 0;     // bytes the file needs: Offset + Stride * Height
    };
    // Reads the BMP headers at the start of a file (the first `size` bytes,
    // which may be fewer than the whole file of `fileSize` bytes).
    static BmpLayout ParseBmp(const std::uint8_t* head, std::size_t size, std::uint64_t fileSize);

    BgrView() = default;
    // Rows of `width` pixels; row y starts at top + y * step.
    BgrView(const std::uint8_t* top, std::ptrdiff_t step, int width, int height)
        : top_(top), step_(step), width_(width), height_(height) {}
    // The pixels of a whole file in memory, laid out as ParseBmp found them.
    static BgrView OfBmp(const std::uint8_t* file, const BmpLayout& layout);

    int width() const { return width_; }
    int height() const { return height_; }
    bool isNull() const { return !top_; }
    const std::uint8_t* row(int y) const { return top_ + static_cast<std::ptrdiff_t>(y) * step_; }
    // Pixel (x, y) as 0xffRRGGBB; (x, y) must be inside.
    std::uint32_t pixel(int x, int y) const {
        const std::uint8_t* p = row(y) + 3 * x;
        return 0xff000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
    }

    // Fills a w x h rectangle of 32-bit pixels (rows `dstStride` pixels apart)
    // with the picture magnified `scale` times (1 or more, each pixel a
    // scale x scale square), from point (x, y) of the magnified picture on.
    // Pixels beyond the picture's edge are left as they are.
    void convert(int x, int y, int w, int h, int scale, std::uint32_t* dst, std::ptrdiff_t dstStride) const;

    // The picture at half size, each pixel the mean of a 2 x 2 square (a last
    // odd row or column alone), into `store`, which the view returned points
    // into. `stop`, when set, ends the work early (between rows): the result
    // is then unusable.
    BgrView halved(std::vector<std::uint8_t>& store, const std::atomic<bool>* stop = nullptr) const;

private:
    const std::uint8_t* top_ = nullptr;
    std::ptrdiff_t step_ = 0;
    int width_ = 0, height_ = 0;
};

}  // namespace varno
