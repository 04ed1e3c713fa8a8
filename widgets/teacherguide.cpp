#include "widgets/teacherguide.h"
#include "widgets/plainmessage.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TeacherGuide", text);
}

const char guideName[] = "teacherGuide";

QStringList candidates()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return {
        QDir::cleanPath(program.filePath(QStringLiteral(SKRIVLO_GUIDE_FOLDER "/vejledning.html"))),
        QStringLiteral(SKRIVLO_GUIDE_BUILD_FOLDER "/vejledning.html"),
    };
}

} // namespace

namespace TeacherGuide {

QString path()
{
    for (const QString &candidate : candidates()) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

bool open(QWidget *parent, const QString &section)
{
    if (parent) {
        if (auto *shown = parent->findChild<QDialog *>(QLatin1String(guideName))) {
            if (!section.isEmpty())
                shown->findChild<QTextBrowser *>(QStringLiteral("guideText"))->scrollToAnchor(section);
            shown->show();
            shown->raise();
            shown->activateWindow();
            return true;
        }
    }
    const QString file = path();
    if (file.isEmpty()) {
        QStringList looked;
        for (const QString &candidate : candidates())
            looked.append(QDir::toNativeSeparators(candidate));
        PlainMessage::warning(parent, tr("Vejledningen mangler"),
                              tr("Vejledningen til læreren findes ikke. Der er ledt i:\n%1\n\n"
                                 "Installér Skrivlo igen.")
                                      .arg(looked.join(QLatin1Char('\n'))),
                              QMessageBox::Ok);
        return false;
    }
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QLatin1String(guideName));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Vejledning til læreren"));
    auto *browser = new QTextBrowser;
    browser->setObjectName(QStringLiteral("guideText"));
    browser->setOpenExternalLinks(true);
    QUrl url = QUrl::fromLocalFile(file);
    if (!section.isEmpty())
        url.setFragment(section);
    browser->setSource(url);
    auto *buttons = new QDialogButtonBox;
    QPushButton *close = buttons->addButton(tr("Luk"), QDialogButtonBox::RejectRole);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::close);
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    dialog->resize(820, 700);
    dialog->show();
    return true;
}

} // namespace TeacherGuide
