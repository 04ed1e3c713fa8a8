#include "dictate2help.h"

Dictate2Help::Dictate2Help(QWidget *parent)
    : GuidePage(parent, content(), PlayWhenShown)
{
}

GuidePage::Content Dictate2Help::content()
{
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
