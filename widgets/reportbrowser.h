#pragma once

#include <QTextBrowser>

// A view of a report that loads nothing but the program's own pictures: a report read back
// from a file may hold what a learner typed, and a picture or a link in it must never open a
// file of the teacher's, a device, or a server on the network. Links are shown, never
// followed; nothing is shown by its address.
class ReportBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit ReportBrowser(QWidget *parent = nullptr);

    // Shows the report, every picture in it that is not the program's own left out.
    void showHtml(const QString &html);

    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
};
