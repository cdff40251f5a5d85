#pragma once
// A radio group: a captioned box of exclusive items, of which one or none is
// chosen.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace varno {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // The items fill `columns` columns, top to bottom.
    TRadioGroup(const char* name, const QString& caption, const QStringList& items, int columns, QWidget* parent);

    // The chosen item's position, or -1 when none is chosen.
    int ItemIndex() const;
    // Chooses the item at `index`; -1 (or any position outside the items) chooses none.
    void SetItemIndex(int index);
    int Count() const;

private:
    QButtonGroup* buttons_;
};

}  // namespace varno
