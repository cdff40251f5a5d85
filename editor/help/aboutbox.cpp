#include "editor/help/aboutbox.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QtGlobal>

namespace varno {

namespace {

// A path as a link that opens it (or its folder, for a file not there yet).
QString PathLink(const QString& path) {
    const QFileInfo info(path);
    const QString target = info.exists() ? path : info.absolutePath();
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(QUrl::fromLocalFile(target).toString(QUrl::FullyEncoded).toHtmlEscaped(),
             QDir::toNativeSeparators(path).toHtmlEscaped());
}

QString Row(const QString& what, const QString& value) {
    return QStringLiteral("<tr><td style=\"padding-right:12px\">%1</td><td>%2</td></tr>").arg(what, value);
}

}  // namespace

QString TAboutBox::Text(const AboutFacts& facts) {
    QString rows;
    if (!facts.SettingsFile.isEmpty()) {
        const bool exists = QFileInfo::exists(facts.SettingsFile);
        rows += Row(QStringLiteral("Settings file:"),
                    PathLink(facts.SettingsFile) + (exists ? QString() : QStringLiteral(" (not written yet)")));
    }
    if (!facts.UserDemo.isEmpty())
        rows += Row(QStringLiteral("Your demo game:"),
                    PathLink(facts.UserDemo) +
                        (QFileInfo::exists(facts.UserDemo) ? QString() : QStringLiteral(" (not copied yet)")));
    if (!facts.InstalledDemo.isEmpty())
        rows += Row(QStringLiteral("Demo game as installed:"), PathLink(facts.InstalledDemo));
    if (!facts.Manual.isEmpty()) rows += Row(QStringLiteral("User manual:"), PathLink(facts.Manual));
    rows +=
        Row(QStringLiteral("Qt:"),
            QStringLiteral("%1 (built with %2)").arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR)));

    QString licence = QStringLiteral("Free software under the MIT licence");
    licence +=
        facts.LicenceFile.isEmpty() ? QStringLiteral(".") : QStringLiteral(": %1.").arg(PathLink(facts.LicenceFile));
    return QStringLiteral("<h3>%1 %2</h3><p>%3</p><p>%4<br>%5</p><table>%6</table>")
        .arg(facts.Program.toHtmlEscaped(), facts.Version.toHtmlEscaped(), facts.Summary.toHtmlEscaped(),
             facts.Copyright.toHtmlEscaped(), licence, rows);
}

TAboutBox::TAboutBox(const AboutFacts& facts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgAbout"));
    setWindowTitle(QStringLiteral("About %1").arg(facts.Program));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    lblText = new QLabel(Text(facts), this);
    lblText->setObjectName(QStringLiteral("lblAbout"));
    lblText->setTextFormat(Qt::RichText);
    // The paths can be selected and copied, and opened with a click.
    lblText->setTextInteractionFlags(Qt::TextBrowserInteraction);
    lblText->setOpenExternalLinks(true);
    layout->addWidget(lblText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace varno
