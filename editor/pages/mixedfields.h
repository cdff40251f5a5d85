#pragma once
// A page's fields while several records are edited together: a field in
// which the records differ shows blank (a flag box partly checked) until the
// user fills it in, and the page learns which blank fields the user left
// alone, so that storing keeps each record's own value there.
#include <QList>
#include <QObject>
#include <cstdint>
#include <vector>

class QCheckBox;
class QWidget;

namespace varno {

class TMixedFields : public QObject {
    Q_OBJECT
public:
    // `fields`: the page's number fields in the core's field order (number
    // edits, spin fields, radio groups); `boxes`: its flag boxes, each with
    // its bit in the "Tag" property.
    TMixedFields(std::vector<QWidget*> fields, QList<QCheckBox*> boxes, QObject* parent);

    // Blanks fields (bit i for field i) and partly checks boxes (by their
    // bits) after the shared values are shown.
    void Blank(std::uint32_t fields, std::uint32_t flags);
    // Back to plain fields (one record shown).
    void Clear();
    // The blanked fields and boxes the user has not touched since.
    std::uint32_t StillBlank() const { return blank_; }
    std::uint32_t StillMixedFlags() const;

private:
    void touched(std::size_t field);

    std::vector<QWidget*> fields_;
    QList<QCheckBox*> boxes_;
    std::uint32_t blank_ = 0;
    bool showing_ = false;  // the program setting the fields
};

}  // namespace varno
