#pragma once
// The text browser of the user manual: shows its Markdown pages as the
// project's page shows them, with working links between pages and to their
// sections, and the pictures fitted to the window's width.
#include <QImage>
#include <QStringList>
#include <QTextBrowser>

namespace varno {

class TManualBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit TManualBrowser(QWidget* parent = nullptr);

    // The page's title: its first heading (empty before a page is shown).
    QString PageTitle() const;
    // The names of the page's sections as its links name them ("undo-and-redo").
    const QStringList& Anchors() const { return anchors_; }
    // The picture the page shows under `name` as it names it; null when it
    // could not be loaded.
    QImage Picture(const QString& name) const;

    // The anchor the project's page gives a heading: lower case, letters,
    // digits, '-' and '_' kept, blanks made '-', the rest left out.
    static QString HeadingAnchor(const QString& heading);

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Every heading gets its anchor, numbered ("-1", "-2") after the first of
    // the same name.
    void addAnchors();
    // Pictures wider than the view are shown at its width, the others at their own.
    void fitPictures();

    QStringList anchors_;
};

}  // namespace varno
