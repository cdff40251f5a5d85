#include "editor/windows/schedulewindow.h"

#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QSaveFile>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QTabWidget>

#include "editor/dialogs.h"
#include "editor/document/scndocument.h"
#include "editor/reporterror.h"
#include "editor/widgets/textconv.h"
#include "editor/windows/scheduleview.h"
#include "scenario/scnerror.h"

namespace varno {

TfrmSchedule::TfrmSchedule(const Scenario& scn, Dialogs& dialogs, SelectRecord select, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), select_(std::move(select)) {
    setObjectName(QStringLiteral("frmSchedule"));
    setWindowTitle(QStringLiteral("Schedule"));
    View = new ScheduleView(scn, this);
    setCentralWidget(View);
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for four lines, always: the picture must not move under the pointer.
    Status->setFixedHeight(4 * Status->fontMetrics().height() + 4);
    Status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statusBar()->addWidget(Status, 1);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    mnuExport = file->addAction(QStringLiteral("&Export Picture..."));
    mnuExport->setObjectName(QStringLiteral("mnuExport"));
    mnuClose = file->addAction(QStringLiteral("&Close"));
    mnuClose->setShortcut(QKeySequence(Qt::Key_Escape));

    connect(View, &ScheduleView::hovered, Status, &QLabel::setText);
    connect(View, &ScheduleView::eventClicked, this, [this](ScheduleEventKind kind, int index) {
        ReportErrors(dialogs_, this, [&] {
            if (select_) select_(kind, index);
        });
    });
    connect(mnuExport, &QAction::triggered, this, [this] { mnuExportClick(); });
    connect(mnuClose, &QAction::triggered, this, &QWidget::close);
    resize(900, 560);
}

void TfrmSchedule::ScenarioChanged() { View->Invalidate(); }

void TfrmSchedule::Follow(const TScnDocument& doc) {
    connect(&doc, &TScnDocument::changed, this, [this](const DocChange& change) {
        if (change.Records()) ScenarioChanged();
    });
}

void TfrmSchedule::mnuExportClick() {
    OpenFileRequest request;
    request.title = QStringLiteral("Export Picture");
    request.fileName = QStringLiteral("schedule.png");
    request.filters = {QStringLiteral("PNG picture (*.png)"), QStringLiteral("SVG picture (*.svg)")};
    request.defaultSuffix = QStringLiteral("png");
    const QString path = dialogs_.SaveFile(this, request);
    if (path.isEmpty()) return;
    ReportErrors(dialogs_, this, [&] { ExportPicture(path); });
}

void TfrmSchedule::ExportPicture(const QString& path) {
    QSaveFile out(path);
    const auto fail = [&](const QString& reason) {
        throw ScnError(("Cannot write " + path + ": " + reason).toStdString());
    };
    if (!out.open(QIODevice::WriteOnly)) fail(out.errorString());
    const QSize size = View->size();
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Schedule"));
        QPainter p;
        if (!p.begin(&svg)) fail(QStringLiteral("cannot draw the picture"));
        View->Paint(p, size);
        p.end();
    } else {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        View->Paint(p, size);
        p.end();
        if (!image.save(&out, "PNG")) fail(out.errorString());
    }
    if (!out.commit()) fail(out.errorString());
}

}  // namespace varno
