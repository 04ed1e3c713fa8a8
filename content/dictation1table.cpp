#include "content/storytable.h"

// The first dictation: a trip to town and the old pharmacy with its swans.
const DictationTable &dictation1Table()
{
    static const DictationTable table {
        1, 10, 1, true,
        {
            { 1, { fixedText("Vi"), gap("kørte", "1.wav"), fixedText("til byen fredag morgen. Der var"), gap("fint", "2.wav") } },
            { 1, { fixedText("vejr, og"), gap("solen", "3.wav"), fixedText("skinnede. Vi havde"), gap("talt", "4.wav"), fixedText("om, at vi") } },
            { 1, { fixedText("ville se det"), gap("gamle", "5.wav"), fixedText("apotek. Vi havde"), gap("læst", "6.wav"), fixedText(", at der er") } },
            { 1, { gap("hele", "7.wav"), fixedText("femten figurer af svaner inde på apoteket.") } },
            { 2, { fixedText("Vi ville"), gap("prøve", "8.wav"), fixedText("at finde svanerne. Der er"), gap("fire", "9.wav"), fixedText("uden") } },
            { 2, { fixedText("på apoteket. Der er to på"), gap("døren", "10.wav"), fixedText("Der er tre i"), gap("glas", "11.wav"), fixedText(",") } },
            { 2, { fixedText("og der er"), gap("lavet", "12.wav"), fixedText("svaner i ryggen på fem"), gap("stole", "13.wav"), fixedText(". En") } },
            { 2, { gap("stor", "14.wav"), fixedText("svane i porcelæn fungerer som en"), gap("hane", "15.wav"), fixedText(",") } },
            { 2, { fixedText("som man kan få"), gap("gåsevin", "16.wav"), fixedText("fra.") } },
            { 3, { fixedText("Svanen er et"), gap("symbol", "17.wav"), fixedText("for apoteker, ligesom"), gap("løven", "18.wav"), fixedText("er") } },
            { 3, { fixedText("det. Svanen står for det"), gap("fine", "19.wav"), fixedText("og"), gap("rene", "20.wav"), fixedText(".") } },
        },
    };
    return table;
}
