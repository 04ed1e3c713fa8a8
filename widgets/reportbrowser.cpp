#include "widgets/reportbrowser.h"

#include "model/reporttext.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace {

// Where a left-out picture points: into the program's resources, where looking for a file
// (Qt looks for a "@2x" sibling on a high-resolution screen) never touches a disk or a server.
const QString leftOutName = QStringLiteral(":/report/left-out");

bool isOwnPicture(const QUrl &url)
{
    return url.scheme() == QLatin1String("qrc")
            || (url.scheme().isEmpty() && url.path().startsWith(QLatin1String(":/")));
}

// Nothing to see, but a picture: for a picture that does not load, Qt's image handler reads
// the file by its name itself.
QImage nothing()
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

ReportBrowser::ReportBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

void ReportBrowser::showHtml(const QString &html)
{
    // Read into a document of its own, not yet laid out: the names of pictures are looked up
    // while the document is laid out, so every name not the program's own is replaced first.
    auto *report = new QTextDocument(this); // its resources are asked of loadResource below
    report->setDefaultFont(document()->defaultFont());
    report->setDocumentMargin(document()->documentMargin());
    if (ReportText::isOwnMarkup(html))
        report->setHtml(html);
    else
        report->setPlainText(tr("Resultatet er ikke skrevet af Skrivlo, eller det er ændret bagefter. "
                                "Derfor vises det som tekst:\n\n")
                             + html);
    report->addResource(QTextDocument::ImageResource, QUrl(QLatin1String("qrc") + leftOutName), nothing());
    QVector<std::pair<int, int>> pictures;
    for (QTextBlock block = report->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat() && !isOwnPicture(QUrl(format.toImageFormat().name())))
                pictures.append({ fragment.position(), fragment.length() });
        }
    }
    QTextImageFormat leftOut;
    leftOut.setName(leftOutName);
    QTextCursor cursor(report);
    for (const auto &[position, length] : std::as_const(pictures)) {
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(leftOut);
    }
    QTextDocument *shown = document();
    const bool earlierReport = shown->parent() == this; // the first, Qt's own, goes with setDocument
    setDocument(report);
    if (earlierReport)
        shown->deleteLater();
}

QVariant ReportBrowser::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::ImageResource && isOwnPicture(name))
        return QTextBrowser::loadResource(type, name);
    if (type == QTextDocument::ImageResource)
        return nothing();
    // Empty, not nothing: for nothing the document would read the file itself.
    return QVariant(QByteArray());
}

void ReportBrowser::doSetSource(const QUrl &, QTextDocument::ResourceType)
{
}
