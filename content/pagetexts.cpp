#include "content/pagetexts.h"

#include <QCoreApplication>

namespace {

const char *const infoFieldNames[] = {
    "dateEdit", "placeEdit", "nameEdit", "addressEdit", "birthYearEdit",
    "schoolEdit", "examEdit", "educationEdit", "jobEdit",
};

// The texts keep the translation context of the page that shows them.
struct Translator
{
    const char *context;
    QString operator()(const char *text) const { return QCoreApplication::translate(context, text); }
};

const Translator info { "Info" };

} // namespace

namespace PageTexts {

GuideText welcome()
{
    const Translator tr { "Welcome" };
    return {
        tr("<html><b>Velkommen</b></html>"),
        {
            tr("<html><hr>Kære kursist</html>"),
            tr("Klik på højttaleren for at få læst op!"),
            tr("<html>Du skal nu lave to diktater. I den første diktat skal du stave 20 ord. Hvis du har stavet de<br>"
               "fleste af ordene i den første diktat rigtigt, går du videre til den anden diktat. Her skal du<br>"
               "stave 60 ord. Hvis der er nogle ord, som du ikke kan stave, kan du bare skrive dem, som<br>"
               "du synes, de lyder – eller du kan lade være med at skrive noget.</html>"),
            tr("<html>Husk at det her er <u>ikke</u> en eksamen men mere en hjælp til din lærer, så han eller hun<br>"
               "ved, hvad du har brug for at lære.</html>"),
            tr("<html>Det hele tager ca. 20-25 minutter, og du får hjælp undervejs, så du ved, hvad du skal<br>"
               "gøre.</html>"),
            tr("<html>Inden du går i gang med den første diktat, skal du skrive navn og adresse osv. Klik på<br>"
               "den grønne pil for at gå videre.</html>"),
            tr("<html>Hvis du vil høre denne forklaring igen, skal du klikke på højttaleren.<hr></html>"),
        },
        tr("sounds/welcome.wav"),
    };
}

GuideText dictate1Help()
{
    const Translator tr { "Dictate1Help" };
    return {
        tr("<html><b>Hjælp til Diktat 1</b></html>"),
        {
            tr("<html><hr>I denne diktat skal du stave 20 ord. Du får én sætning læst op ad<br>"
               "gangen, og dét ord du skal stave bliver gentaget. Du skal skrive<br>"
               "ordet i det tomme felt. Du kan hele tiden følge med i teksten på<br>"
               "skærmen. For at høre sætningen skal du klikke på det tomme felt.<br>"
               "Du kan klikke og høre sætningen igen - lige så mange gange du vil.</html>"),
            tr("<html>Hvis du vil gå tilbage og ændre et ord, kan du klikke med musen på<br>"
               "det felt, der skal ændres. Når du mener, du er færdig, klikker du på<br>"
               "den grønne pil. Du kan ikke gå tilbage og rette, når du er gået<br>"
               "videre til næste side.</html>"),
            tr("<html>Hvis du har stavet 18 ord, eller flere, rigtigt, går du automatisk<br>"
               "videre til Diktat 2. Hvis du har stavet færre end 18 ord rigtigt, ser<br>"
               "du resultatet af din diktat, som du skal udskrive.</html>"),
            tr("Hvis du vil høre denne forklaring igen, skal du klikke på højttaleren."),
            tr("<html>Klik på den grønne pil for at gå i gang med Diktat 1.<hr></html>"),
        },
        tr("sounds/dik1help.wav"),
    };
}

GuideText dictate2Help()
{
    const Translator tr { "Dictate2Help" };
    return {
        tr("<html><b>Hjælp til Diktat 2</b></html>"),
        {
            tr("<html><hr>Du har nu lavet Diktat 1 og skal derfor fortsætte med Diktat 2.</html>"),
            tr("<html>I denne diktat skal du stave 60 ord, men ellers foregår alting helt ligesom før. Du får<br>"
               "sikkert brug for at rulle med vinduet på skærmen for at få de nederste ord med.</html>"),
            tr("Hvis du vil høre denne forklaring igen, skal du klikke på højttaleren."),
            tr("<html>Klik på den grønne pil for at gå i gang med Diktat 2.<hr></html>"),
        },
        tr("sounds/dik2help.wav"),
    };
}

QStringList infoFieldLabels()
{
    return {
        info("Dato:"),
        info("Undervisningssted:"),
        info("<html><font color=\"orange\">Navn:</font></html>"),
        info("<html><font color=\"orange\">Adresse:</font></html>"),
        info("<html><font color=\"orange\">Fødselsår:</font></html>"),
        info("Hvor længe har du gået i folkeskole?"),
        info("Har du studentereksamen eller tilsvarende?"),
        info("Har du en uddannelse? Hvilken?"),
        info("Er du i job? Hvilket?"),
    };
}

QStringList infoTexts()
{
    QStringList texts {
        info("<html><b>Oplysninger om dig selv</b></html>"),
        info("<html><hr>Her skal du skrive lidt oplysninger om dig selv.</html>"),
        info("<html>Du <u>skal</u> udfylde de <font color=\"orange\">orange</font> felter!<hr>"),
    };
    texts += infoFieldLabels();
    texts += info("<html><hr></html>");
    return texts;
}

QString infoSoundFile()
{
    return info("sounds/info.wav");
}

QStringList infoFieldObjectNames()
{
    QStringList names;
    for (const char *name : infoFieldNames)
        names.append(QString::fromLatin1(name));
    return names;
}

} // namespace PageTexts
