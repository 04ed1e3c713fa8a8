#include "dictate1help.h"

Dictate1Help::Dictate1Help(QWidget *parent)
    : GuidePage(parent, content(), PlayWhenShown)
{
}

GuidePage::Content Dictate1Help::content()
{
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
