#include "mapview/mapscene.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "mapview/mapfiles.h"
#include "mapview/mappicture.h"
#include "mapview/zoomgeom.h"
#include "scenario/atomicsave.h"
#include "scenario/platform/platform.h"
#include "scenario/scenario.h"
#include "scenario/scnerror.h"

namespace varno {

MapScene::MapScene(const Scenario& scn, ClockTime time, OverlaySet overlays)
    : scn_(scn), picture_(MapPicture::Load(MapPicturePath(scn.GameDir))), plan_(PlanAt(scn, time)),
      layout_(LayOutOverlays(scn, plan_, overlays, picture_->width())) {
    icons_ = LoadIconList(scn.GameDir);
    // The stacks as a Read draws them: each icon over the ones before.
    for (const HexStack& s : StacksAsRead(scn.SetupList())) {
        QImage canvas(32, 32, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter p(&canvas);
        for (const auto& [background, foreground] : s.Layers) {
            p.drawImage(0, 0, icons_[static_cast<std::size_t>(background)]);
            p.drawImage(0, 0, icons_[static_cast<std::size_t>(foreground)]);
        }
        p.end();
        const PixelPos corner = StackCorner(s.Hex.Col, s.Hex.Row);
        stacks_.emplace_back(QPoint(corner.X, corner.Y), std::move(canvas));
    }
}

QSize MapScene::Size(int zoom) const {
    return {ZoomedLength(picture_->width(), zoom), ZoomedLength(picture_->height(), zoom)};
}

void MapScene::Paint(QPainter& p, const QRect& area, int zoom) const {
    picture_->draw(p, area, zoom);
    const PixelRect r = ViewRectToPicture({area.x(), area.y(), area.width(), area.height()}, zoom);
    const QRect pictureArea(r.X, r.Y, r.W, r.H);
    p.save();
    p.scale(zoom / 100.0, zoom / 100.0);
    if (zoom < 100) p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const auto& [corner, canvas] : stacks_)
        if (QRect(corner, canvas.size()).intersects(pictureArea)) p.drawImage(corner, canvas);
    painter_.Paint(p, scn_, layout_, &icons_, pictureArea, zoom / 100.0);
    p.restore();
}

namespace {

QString Suffix(const std::string& path) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).suffix().toLower();
}

}  // namespace

void MapScene::CheckOutput(const std::string& path) {
    const QString suffix = Suffix(path);
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        throw ScnError(path + ": the picture's name must end in .png or .svg");
    // What the name holds now, through its links: only a regular file is replaced.
    platform::FileInfo info;
    if (!platform::InfoOf(ResolveLinks(path), info) && info.Kind != platform::FileKind::Missing &&
        info.Kind != platform::FileKind::Regular)
        throw ScnError(path + " is not a regular file");
}

void WritePicture(const std::string& path, QSize size, const std::function<void(QPainter&)>& paint) {
    MapScene::CheckOutput(path);
    const QString suffix = Suffix(path);
    QSaveFile out(QFile::decodeName(QByteArray::fromStdString(path)));
    const auto fail = [&](const QString& reason) {
        throw ScnError("Cannot write " + path + ": " + reason.toStdString());
    };
    if (!out.open(QIODevice::WriteOnly)) fail(out.errorString());
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Map"));
        QPainter p;
        if (!p.begin(&svg)) fail(QStringLiteral("cannot draw the picture"));
        paint(p);
        p.end();
    } else {
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            fail(QStringLiteral("not enough memory for a picture of %1 x %2").arg(size.width()).arg(size.height()));
        image.fill(Qt::black);
        QPainter p(&image);
        paint(p);
        p.end();
        if (!image.save(&out, "PNG")) fail(out.errorString());
    }
    if (!out.commit()) fail(out.errorString());
}

void MapScene::Write(const std::string& path, int zoom) const {
    const QSize size = Size(zoom);
    WritePicture(path, size, [&](QPainter& p) { Paint(p, QRect(QPoint(0, 0), size), zoom); });
}

}  // namespace varno
