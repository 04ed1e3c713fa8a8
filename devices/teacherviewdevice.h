#pragma once

#include <QString>
#include <QtPlugin>

#include <memory>

class QWidget;

// The teacher's view of the class, from the module skrivlo_devices (with Qt Print Support,
// which the program itself does not link).
class TeacherViewDevice
{
public:
    virtual ~TeacherViewDevice() = default;

    // classFolder: every learner's files; outbox: this PC's files not yet handed in;
    // workFolder: this PC's arbejdsmappe (its saved test, where PDFs are offered a place).
    // password and keyLines: what opens the sealed class folder (the password the teacher
    // typed, the key lines this PC knows); keyringFolder: where the teacher's keys are kept.
    // fixedPassword: no school password is set. keepMonths: how long results are kept (0 not
    // chosen, -1 not understood, as keepMonthsText was written), deleteOld: older ones go
    // without asking.
    virtual std::unique_ptr<QWidget> newTeacherView(const QString &classFolder, const QString &outbox,
                                                    const QString &workFolder, const QString &password,
                                                    const QStringList &keyLines, const QString &keyringFolder,
                                                    bool fixedPassword, int keepMonths,
                                                    const QString &keepMonthsText, bool deleteOld) = 0;
};

#define SKRIVLO_TEACHER_VIEW_DEVICE_IID "dk.skrivlo.TeacherViewDevice/2"
Q_DECLARE_INTERFACE(TeacherViewDevice, SKRIVLO_TEACHER_VIEW_DEVICE_IID)
