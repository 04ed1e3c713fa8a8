#include "welcome.h"

#include <QLabel>

Welcome::Welcome(QWidget *parent)
    : GuidePage(parent, content(), PlayOnRequest)
{
}

GuidePage::Content Welcome::content()
{
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
