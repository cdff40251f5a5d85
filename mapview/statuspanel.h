#pragma once
// The status panel along the bottom of the map window. Its text never sizes
// the window: what does not fit the panel's width is cut with "...", and the
// whole text is the panel's tooltip.
#include <QLabel>

namespace varno {

class TStatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit TStatusPanel(const QString& text, QWidget* parent = nullptr);

    // Sets the text and the tooltip.
    void ShowText(const QString& text);
    // The text as drawn: cut at the panel's width.
    QString ShownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace varno
