#pragma once

#include <QTranslator>

class QCoreApplication;

// Qt's own texts in Danish: its catalogue (file and print dialogs, message box buttons, the
// command line's errors), and the few lines that catalogue lacks.
class DanishTexts : public QTranslator
{
    Q_OBJECT

public:
    explicit DanishTexts(QObject *parent = nullptr);

    // Loads Qt's catalogue (installed with Qt on Linux, beside the program in a Windows
    // deployment) and installs the whole on the application.
    void install(QCoreApplication &application);

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override;

private:
    QTranslator qtCatalogue;
};
