#include "mapview/bgrview.h"

#include <algorithm>

namespace varno {

namespace {

std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

BgrView::BmpLayout BgrView::ParseBmp(const std::uint8_t* head, std::size_t size, std::uint64_t fileSize) {
    BmpLayout layout;
    if (size < 54 || head[0] != 'B' || head[1] != 'M') return layout;
    const std::uint32_t offset = U32(head + 10), dibSize = U32(head + 14);
    const auto width = static_cast<std::int32_t>(U32(head + 18)), height = static_cast<std::int32_t>(U32(head + 22));
    const int planes = head[26] | (head[27] << 8), bits = head[28] | (head[29] << 8);
    if (dibSize < 40 || planes != 1 || bits != 24 || U32(head + 30) != 0) return layout;
    if (width <= 0 || height == 0 || height == INT32_MIN) return layout;
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (width > kSideLimit || rows > kSideLimit) return layout;
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows) > kPixelLimit) return layout;
    layout.Width = width;
    layout.Height = static_cast<int>(rows);
    layout.TopDown = height < 0;  // bottom-up unless the height is negative
    layout.Offset = offset;
    layout.Stride = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    layout.End = layout.Offset + layout.Stride * static_cast<std::uint64_t>(rows);
    layout.Kind = fileSize < layout.End ? BmpKind::CutShort : BmpKind::Bgr24;
    return layout;
}

BgrView BgrView::OfBmp(const std::uint8_t* file, const BmpLayout& layout) {
    const auto stride = static_cast<std::ptrdiff_t>(layout.Stride);
    const std::uint8_t* first = file + layout.Offset;
    if (layout.TopDown) return {first, stride, layout.Width, layout.Height};
    return {first + stride * (layout.Height - 1), -stride, layout.Width, layout.Height};
}

void BgrView::convert(int x, int y, int w, int h, int scale, std::uint32_t* dst, std::ptrdiff_t dstStride) const {
    if (scale < 1 || isNull()) return;
    // The part of the rectangle that lies on the magnified picture.
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + w, std::int64_t{width_} * scale));
    const int y1 = static_cast<int>(std::min<std::int64_t>(std::int64_t{y} + h, std::int64_t{height_} * scale));
    if (x0 >= x1 || y0 >= y1) return;
    for (int ty = y0; ty < y1; ++ty) {
        std::uint32_t* out = dst + static_cast<std::ptrdiff_t>(ty - y) * dstStride + (x0 - x);
        if (scale > 1 && ty > y0 && ty % scale != 0) {
            // The same picture row as the line above.
            std::copy_n(out - dstStride, x1 - x0, out);
            continue;
        }
        const std::uint8_t* src = row(ty / scale);
        if (scale == 1) {
            const std::uint8_t* p = src + 3 * x0;
            for (int tx = x0; tx < x1; ++tx, p += 3)
                *out++ = 0xff000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            continue;
        }
        for (int tx = x0; tx < x1;) {
            const int sx = tx / scale;
            const std::uint8_t* p = src + 3 * sx;
            const std::uint32_t v = 0xff000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            const int end = std::min(x1, (sx + 1) * scale);
            for (; tx < end; ++tx) *out++ = v;
        }
    }
}

BgrView BgrView::halved(std::vector<std::uint8_t>& store, const std::atomic<bool>* stop) const {
    const int w = (width_ + 1) / 2, h = (height_ + 1) / 2;
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    store.assign(stride * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y) {
        if (stop && stop->load(std::memory_order_relaxed)) break;
        const std::uint8_t* a = row(2 * y);
        const std::uint8_t* b = 2 * y + 1 < height_ ? row(2 * y + 1) : a;
        std::uint8_t* out = store.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < w; ++x) {
            const int l = 6 * x, r = 2 * x + 1 < width_ ? l + 3 : l;
            for (int c = 0; c < 3; ++c)
                out[3 * x + c] = static_cast<std::uint8_t>((a[l + c] + a[r + c] + b[l + c] + b[r + c] + 2) / 4);
        }
    }
    return {store.data(), static_cast<std::ptrdiff_t>(stride), w, h};
}

}  // namespace varno
