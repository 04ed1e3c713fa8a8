#include "content/storytable.h"

// The second dictation: a weekend in Aalborg and a rich merchant's Renaissance stone house.
const DictationTable &dictation2Table()
{
    static const DictationTable table {
        2, 30, 21, false,
        {
            { 1, { fixedText("Vi"), gap("ankom", "21.wav", SpellingCategory::Morphological), fixedText("til Aalborg fredag"), gap("eftermiddag", "22.wav", SpellingCategory::Morphological), fixedText(". Vi"), gap("tjekkede", "23.wav", SpellingCategory::Etymological), fixedText("ind") } },
            { 1, { fixedText("på"), gap("hotellet", "24.wav", SpellingCategory::Contextual), fixedText("og tog på"), gap("sightseeing", "25.wav", SpellingCategory::Etymological), fixedText(". Det"), gap("første", "26.wav", SpellingCategory::Morphological), fixedText(", vi så, var") } },
            { 1, { fixedText("en flot"), gap("renæssancebygning", "27.wav", SpellingCategory::Etymological), fixedText("på flere"), gap("etager", "28.wav", SpellingCategory::Etymological), fixedText("midt i byen.") } },
            { 1, { fixedText("Byens"), gap("rigeste", "29.wav", SpellingCategory::Morphological), fixedText("købmand, Jens Bang,"), gap("byggede", "30.wav", SpellingCategory::Morphological) } },
            { 1, { fixedText("huset.") } },
            { 2, { fixedText("Huset var en"), gap("provokation", "31.wav", SpellingCategory::Etymological), fixedText(", fordi Jens Bang tilhørte byens"), gap("borgerskab", "32.wav", SpellingCategory::Morphological), fixedText(".") } },
            { 2, { fixedText("Dengang var det"), gap("nemlig", "33.wav", SpellingCategory::Contextual), fixedText("ikke"), gap("tilladt", "34.wav", SpellingCategory::Contextual), fixedText("for") } },
            { 2, { gap("borgerlige", "35.wav", SpellingCategory::Morphological), fixedText("at bygge i sten. Men Jens Bang"), gap("konstruerede", "36.wav", SpellingCategory::Etymological), fixedText("alligevel sit") } },
            { 2, { fixedText("hus i sten. Han var gode"), gap("venner", "37.wav", SpellingCategory::Contextual), fixedText("med den"), gap("daværende", "38.wav", SpellingCategory::Morphological), fixedText("konge,") } },
            { 2, { fixedText("Christian den"), gap("fjerde", "39.wav", SpellingCategory::Contextual, false), fixedText(".") } },
            { 3, { fixedText("Kongen havde"), gap("bestandigt", "40.wav", SpellingCategory::Contextual), fixedText("brug for"), gap("penge", "41.wav", SpellingCategory::Contextual), fixedText("til sine krige") } },
            { 3, { fixedText("mod"), gap("svenskerne", "42.wav", SpellingCategory::Morphological), fixedText(". Jens Bang var"), gap("flink", "43.wav", SpellingCategory::Contextual), fixedText("og lånte") } },
            { 3, { gap("gerne", "44.wav", SpellingCategory::Contextual), fixedText("ud af sin"), gap("formue", "45.wav", SpellingCategory::Contextual), fixedText("til kongen. Som tak") } },
            { 3, { gap("sendte", "46.wav", SpellingCategory::Morphological), fixedText("kongen sin"), gap("arkitekt", "47.wav", SpellingCategory::Etymological), fixedText("til Aalborg for at tegne et") } },
            { 3, { gap("imponerende", "48.wav", SpellingCategory::Morphological), fixedText("hus til Jens Bang.") } },
            { 4, { fixedText("Bagefter gik vi om"), gap("hjørnet", "49.wav", SpellingCategory::Contextual), fixedText("til husets"), gap("sydgavl", "50.wav", SpellingCategory::Contextual), fixedText(".") } },
            { 4, { fixedText("Gavlen har mange"), gap("dekorationer", "51.wav", SpellingCategory::Etymological), fixedText(", og det er en"), gap("udfordring", "52.wav", SpellingCategory::Morphological), fixedText("at se") } },
            { 4, { fixedText("dem alle. Der er"), gap("blandt", "53.wav", SpellingCategory::Contextual), fixedText("andet en"), gap("grotesk", "54.wav", SpellingCategory::Etymological) } },
            { 4, { fixedText("maske, der rækker"), gap("tunge", "55.wav", SpellingCategory::Contextual), fixedText("ad rådhuset, som") } },
            { 4, { gap("ligger", "56.wav", SpellingCategory::Contextual), fixedText("på den anden side af gaden. Masken skulle"), gap("provokere", "57.wav", SpellingCategory::Etymological) } },
            { 4, { fixedText("byens råd, som aldrig havde"), gap("accepteret", "58.wav", SpellingCategory::Etymological), fixedText("Jens Bang.") } },
            { 5, { fixedText("Jens Bang var en"), gap("kontroversiel", "59.wav", SpellingCategory::Etymological), fixedText("og"), gap("excentrisk", "60.wav", SpellingCategory::Etymological), fixedText("mand. I dag er huset et") } },
            { 5, { gap("spændende", "61.wav", SpellingCategory::Morphological), fixedText("og flot"), gap("bygningsværk", "62.wav", SpellingCategory::Morphological), fixedText(", som mange turister besøger.") } },
            { 6, { fixedText("Om aftenen gik vi ned i"), gap("kælderen", "63.wav", SpellingCategory::Morphological), fixedText("under huset.") } },
            { 6, { fixedText("Her er en"), gap("restaurant", "64.wav", SpellingCategory::Etymological), fixedText(", som er et af"), gap("Danmarks", "65.wav", SpellingCategory::Contextual), fixedText("mest"), gap("ansete", "66.wav", SpellingCategory::Morphological) } },
            { 6, { fixedText("spisesteder. Vi følte os"), gap("hjemme", "67.wav", SpellingCategory::Morphological), fixedText(". En tjener"), gap("nærmede", "68.wav", SpellingCategory::Morphological), fixedText("sig og viste os") } },
            { 6, { gap("straks", "69.wav", SpellingCategory::Contextual), fixedText("hen til et stort"), gap("egetræsbord", "70.wav", SpellingCategory::Morphological), fixedText(", som ikke var") } },
            { 6, { gap("optaget", "71.wav", SpellingCategory::Morphological), fixedText(". Tidligere sad"), gap("oldermanden", "72.wav", SpellingCategory::Contextual), fixedText("i en"), gap("dekorativ", "73.wav", SpellingCategory::Etymological), fixedText("stol for") } },
            { 6, { gap("bordenden", "74.wav", SpellingCategory::Contextual), fixedText(". Dengang gik en stor pokal"), gap("rundt", "75.wav", SpellingCategory::Contextual), fixedText("mellem gæsterne.") } },
            { 6, { fixedText("Der var mange"), gap("ceremonier", "76.wav", SpellingCategory::Etymological), fixedText("og"), gap("elegante", "77.wav", SpellingCategory::Etymological), fixedText("taler, og") } },
            { 6, { fixedText("hele"), gap("arrangementet", "78.wav", SpellingCategory::Etymological), fixedText("kunne vare til langt ud på natten.") } },
            { 7, { fixedText("Næste dag spiste vi"), gap("burgere", "79.wav", SpellingCategory::Etymological), fixedText("ved Limfjorden.") } },
            { 7, { fixedText("Aalborg har mange"), gap("attraktioner", "80.wav", SpellingCategory::Etymological), fixedText(", og vi kommer helt sikkert igen.") } },
        },
    };
    return table;
}
