#include "editor/help/manualbrowser.h"

#include <QHash>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QVector>
#include <algorithm>

namespace varno {

namespace {

// Room left beside a picture in the view (the document's margins and a scroll bar).
constexpr int kPictureMargin = 40;

}  // namespace

TManualBrowser::TManualBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("ManualBrowser"));
    // Links to other pages and sections are followed here; a link to the web
    // goes to the desktop's browser.
    setOpenLinks(true);
    setOpenExternalLinks(true);
    // Fitting the pictures changes formats: nothing to undo in a page.
    document()->setUndoRedoEnabled(false);
}

QString TManualBrowser::HeadingAnchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_')
            anchor += c;
        else if (c == u' ')
            anchor += u'-';
    }
    return anchor;
}

QString TManualBrowser::PageTitle() const {
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        if (b.blockFormat().headingLevel() > 0) return b.text();
    return {};
}

QImage TManualBrowser::Picture(const QString& name) const {
    // What the document holds for a picture is what loadResource gave it:
    // the file's bytes, or an image.
    const QVariant data = document()->resource(QTextDocument::ImageResource, QUrl(name));
    if (data.canConvert<QImage>() && data.userType() != QMetaType::QByteArray) return data.value<QImage>();
    if (data.userType() == QMetaType::QPixmap) return data.value<QPixmap>().toImage();
    return QImage::fromData(data.toByteArray());
}

void TManualBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    const QUrl page = name.adjusted(QUrl::RemoveFragment);
    const bool samePage = !page.isEmpty() && page == source().adjusted(QUrl::RemoveFragment);
    QTextBrowser::doSetSource(name, type);
    if (samePage) return;  // only scrolled to a section
    // A new page gets its anchors, then goes to the section the link names
    // (the base class looked for it before the headings had their anchors).
    addAnchors();
    fitPictures();
    if (name.hasFragment()) scrollToAnchor(name.fragment(QUrl::FullyDecoded));
}

void TManualBrowser::resizeEvent(QResizeEvent* event) {
    QTextBrowser::resizeEvent(event);
    fitPictures();
}

void TManualBrowser::addAnchors() {
    anchors_.clear();
    QHash<QString, int> seen;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() == 0) continue;
        QString anchor = HeadingAnchor(b.text());
        if (const int n = seen[anchor]++; n > 0) anchor += QStringLiteral("-%1").arg(n);
        anchors_ << anchor;
        QTextCursor cursor(b);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setAnchor(true);
        f.setAnchorNames({anchor});
        cursor.mergeCharFormat(f);
    }
}

void TManualBrowser::fitPictures() {
    struct Placed {
        int position;
        QTextImageFormat format;
    };
    QVector<Placed> pictures;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.append({it.fragment().position(), it.fragment().charFormat().toImageFormat()});

    const int widest = std::max(160, viewport()->width() - kPictureMargin);
    for (Placed& p : pictures) {
        const QImage picture = Picture(p.format.name());
        if (picture.isNull()) continue;
        const int width = std::min(picture.width(), widest);
        if (qRound(p.format.width()) == width) continue;
        p.format.setWidth(width);
        p.format.setHeight(static_cast<double>(picture.height()) * width / picture.width());
        QTextCursor cursor(document());
        cursor.setPosition(p.position);
        cursor.setPosition(p.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(p.format);
    }
}

}  // namespace varno
