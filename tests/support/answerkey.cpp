#include "tests/support/answerkey.h"

#include "archive/session.h"

#include <QFile>

namespace AnswerKey {

const char *const words1[20] = {
    "kørte", "fint", "solen", "talt", "gamle", "læst", "hele", "prøve", "fire", "døren",
    "glas", "lavet", "stole", "stor", "hane", "gåsevin", "symbol", "løven", "fine", "rene",
};

const char *const words2[60] = {
    "ankom", "eftermiddag", "tjekkede", "hotellet", "sightseeing", "første",
    "renæssancebygning", "etager", "rigeste", "byggede", "provokation", "borgerskab",
    "nemlig", "tilladt", "borgerlige", "konstruerede", "venner", "daværende", "fjerde",
    "bestandigt", "penge", "svenskerne", "flink", "gerne", "formue", "sendte", "arkitekt",
    "imponerende", "hjørnet", "sydgavl", "dekorationer", "udfordring", "blandt", "grotesk",
    "tunge", "ligger", "provokere", "accepteret", "kontroversiel", "excentrisk", "spændende",
    "bygningsværk", "kælderen", "restaurant", "Danmarks", "ansete", "hjemme", "nærmede",
    "straks", "egetræsbord", "optaget", "oldermanden", "dekorativ", "bordenden", "rundt",
    "ceremonier", "elegante", "arrangementet", "burgere", "attraktioner",
};

const int categoryCells[20][3] = {
    { 24, 23, 21 }, { 33, 25, 22 }, { 34, 27, 26 }, { 37, 28, 29 }, { 39, 31, 30 },
    { 40, 36, 32 }, { 41, 47, 35 }, { 43, 51, 38 }, { 44, 54, 42 }, { 45, 57, 46 },
    { 49, 58, 48 }, { 50, 59, 52 }, { 53, 60, 61 }, { 55, 64, 62 }, { 56, 73, 63 },
    { 65, 76, 66 }, { 69, 77, 67 }, { 72, 78, 68 }, { 74, 79, 70 }, { 75, 80, 71 },
};

QString word(int field)
{
    return QString::fromUtf8(field <= 20 ? words1[field - 1] : words2[field - 21]);
}

} // namespace AnswerKey

QByteArray readReport()
{
    QFile file(QStringLiteral("results.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

bool writeReport(Session &session, const QByteArray &bytes)
{
    session.learner().document = QString::fromUtf8(bytes);
    QFile file(QStringLiteral("results.html"));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
