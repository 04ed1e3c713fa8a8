#pragma once

#include "sealing/classkey.h"

#include <QString>

#include <memory>

// The settings IT makes for every user of a PC, in one INI file that only an administrator
// may write: /etc/xdg/Skrivlo/Skrivlo.ini on Linux, %ProgramData%\Skrivlo\Skrivlo.ini on
// Windows. Read once by main and kept in the session. The program reads that path and no
// other: nothing a learner can set (an environment variable, XDG_CONFIG_DIRS, a user's own
// settings) points it elsewhere. Tests give read() a file of their own, or run the program
// with a folder of their own mounted over /etc/xdg.
//
// The school's password is the key "password": the class key wrapped under it (KeyWrap), as
// "--ny-adgangskode" stores it, or a PBKDF2 hash stored before keys (SchoolPassword), which
// keeps working until IT sets the password again. Without one,
// the fixed password holds. A file that cannot be read, or that holds a password in any other
// form (typed in by hand), is refused: then no password is accepted, since the fixed one
// would open what the school meant to lock, and problem() says what IT should do.
class MachineSettings
{
public:
    enum class State {
        Read,        // read, or no file at all
        Unreadable,  // there, but this user may not read it
        Damaged,     // not an INI file the settings can be read from
        HandWritten, // a password that was not stored by Skrivlo
    };

    static constexpr const char *passwordKey = "password";
    // The class folder every PC of a class writes to, such as \\server\skrivlo\hold-3 or
    // /mnt/skrivlo/hold-3; empty when not set.
    static constexpr const char *classFolderKey = "klassemappe";
    // How many months results are kept in the class folder (for example 24), and whether the
    // teacher's view deletes older ones without asking ("true").
    static constexpr const char *keepMonthsKey = "gem-resultater-maaneder";
    static constexpr const char *deleteOldKey = "slet-gamle-resultater-selv";
    static constexpr int longestKeepMonths = 1200;

    // The machine's file, at its fixed place.
    static QString defaultPath();
    static MachineSettings read(const QString &path);

    // No file: the fixed password.
    MachineSettings() = default;

    QString path() const { return file; }
    State state() const { return fileState; }
    bool isRefused() const { return fileState != State::Read; }
    // In Danish, for the teacher to show IT; empty when the settings were read.
    QString problem() const;

    QString classFolder() const { return classFolderValue; }

    // Months results are kept: 0 when the school has not chosen, -1 when the value is not a
    // whole number from 1 to longestKeepMonths (keepMonthsText() says what it is).
    int keepMonths() const { return keepMonthsValue; }
    QString keepMonthsText() const { return keepMonthsWritten; }
    bool deletesOldOnItsOwn() const { return deleteOld; }

    bool hasSchoolPassword() const { return !storedPassword.isEmpty(); }
    // The stored line when it wraps the school's class key; else empty.
    QString schoolKeyLine() const;

    struct Unlock
    {
        bool accepted = false;
        std::shared_ptr<const ClassKey> key; // the school's class key, when the line holds one
    };
    // The school's password when it is set, else the fixed one; nothing when refused. Slow on
    // purpose (half a second or more): run it off the window's thread.
    Unlock unlock(const QString &typed) const;
    bool acceptsPassword(const QString &typed) const { return unlock(typed).accepted; }

    // Stores the word as the school's password in the file, keeping the file's other keys
    // and replacing a password typed in by hand. False, with a Danish reason, without the
    // rights to write there or when the file cannot be read.
    static bool canWrite(const QString &path, QString *reason);
    // keep: the class key to wrap under the new word (the one the current password opened);
    // without it a new class key is made.
    static bool writePassword(const QString &path, const QString &word, QString *reason,
                              std::shared_ptr<const ClassKey> keep = nullptr);

private:
    QString file;
    State fileState = State::Read;
    QString storedPassword;
    QString classFolderValue;
    int keepMonthsValue = 0;
    QString keepMonthsWritten;
    bool deleteOld = false;
    QString handWrittenKey; // the key of a refused password, to name it in problem()
};
