#include "widgets/reportbrowser.h"

ReportBrowser::ReportBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

void ReportBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    shownDocument = name;
    QTextBrowser::doSetSource(name, type);
}

QVariant ReportBrowser::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::HtmlResource && name == shownDocument)
        return QTextBrowser::loadResource(type, name);
    // The program's own pictures, compiled in; nothing from a file, a device or the network.
    if (type == QTextDocument::ImageResource && (name.scheme() == QLatin1String("qrc")
                                                 || (name.scheme().isEmpty() && name.path().startsWith(QLatin1String(":/")))))
        return QTextBrowser::loadResource(type, name);
    // Empty, not nothing: for nothing the document would read the file itself.
    return QVariant(QByteArray());
}
