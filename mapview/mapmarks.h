#pragma once
// What the map window draws over the picture and the stacks to help the
// designer find hexes: the hex numbers, the hexes the overloaded-hex check
// reported (red), the hex of the selected placement (yellow) and the hex
// Search > for Hex went to (cyan). Everything is in picture pixels; the
// outlines keep their width on the screen whatever the scale.
#include <QImage>
#include <QRect>
#include <optional>
#include <vector>

#include "mapview/hexgeom.h"

class QPainter;

namespace varno {

class TMapMarks {
public:
    // The hexes of the check's findings, each once, in the order of the findings.
    void SetMarked(const std::vector<HexPos>& hexes);
    const std::vector<HexPos>& Marked() const { return marked_; }
    // Keeps only the marked hexes that `still` holds; true when any went.
    bool KeepOnly(const std::vector<HexPos>& still);

    std::optional<HexPos> Selected;  // the hex of the selected placement
    std::vector<HexPos> Chosen;      // the hexes of the other selected placements, each once
    std::optional<HexPos> GoTo;      // the hex Search > for Hex went to
    std::optional<HexPos> Cursor;    // the keyboard's hex (arrow keys, Space)
    bool HexNumbers = false;         // "col,row" in every hex

    // Draws the marks that meet `area` (picture pixels) on a grid of
    // numCols x numRows; the hex numbers only at a scale of 1 and above.
    void Paint(QPainter& p, const QRect& area, int numCols, int numRows, double scale = 1.0) const;

    // The part of the picture that the marks of a hex may cover.
    static QRect HexArea(HexPos hex);

private:
    // The hex numbers are put together from pictures of their two halves,
    // "col," and "row", each drawn once when first needed: drawing the text
    // of every hex at each paint is too slow for a large view.
    const QImage& numberPiece(int n, bool column) const;

    std::vector<HexPos> marked_;
    mutable std::vector<QImage> columnPieces_, rowPieces_;  // by number, 256 each once used
};

}  // namespace varno
