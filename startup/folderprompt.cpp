#include "startup/folderprompt.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace FolderPrompt {

QString askForAnother(QWidget *parent, const QString &problem, const QString &folder)
{
    auto tr = [](const char *text) { return QCoreApplication::translate("FolderPrompt", text); };
    for (;;) {
        QMessageBox box(parent);
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(tr("Skrivlo kan ikke gemme resultater"));
        box.setText(problem + tr("\n\nIngen kursist kan tage testen, før Skrivlo kan gemme i arbejdsmappen. "
                                 "Vælg en anden arbejdsmappe, eller luk programmet og ret fejlen."));
        QPushButton *choose = box.addButton(tr("Vælg en anden mappe …"), QMessageBox::AcceptRole);
        QPushButton *close = box.addButton(tr("Luk programmet"), QMessageBox::RejectRole);
        box.setDefaultButton(close);
        box.exec();
        if (box.clickedButton() != choose)
            return QString();
        const QString picked = QFileDialog::getExistingDirectory(
                parent, tr("Vælg arbejdsmappe"), folder, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (!picked.isEmpty())
            return picked;
    }
}

} // namespace FolderPrompt
