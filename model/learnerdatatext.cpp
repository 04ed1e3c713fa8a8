#include "model/learnerdatatext.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace LearnerDataText {

namespace {

const char formatName[] = "skrivlo-kursist";
const char dateFormat[] = "yyyy-MM-ddTHH:mm:ss";

QString tr(const char *text)
{
    return QCoreApplication::translate("LearnerDataText", text);
}

QJsonValue count(int value)
{
    return value < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

// A whole number in [0, max] or null (-1); anything else fails.
bool readCount(const QJsonValue &value, int max, int *out)
{
    if (value.isNull()) {
        *out = -1;
        return true;
    }
    if (!value.isDouble())
        return false;
    // In range before the cast: a double beyond int has no int to compare with.
    const double number = value.toDouble();
    if (!(number >= 0 && number <= max) || number != static_cast<int>(number))
        return false;
    *out = static_cast<int>(number);
    return true;
}

} // namespace

QByteArray serialise(const ResultRow &row)
{
    QJsonObject object;
    object.insert(QStringLiteral("format"), QLatin1String(formatName));
    object.insert(QStringLiteral("version"), formatVersion);
    object.insert(QStringLiteral("started"), row.started.toString(QLatin1String(dateFormat)));
    object.insert(QStringLiteral("pc"), row.pc);
    object.insert(QStringLiteral("place"), row.place);
    object.insert(QStringLiteral("name"), row.name);
    object.insert(QStringLiteral("birthYear"), row.birthYear);
    object.insert(QStringLiteral("dictation1"), count(row.dictation1Right));
    if (row.dictation2Taken()) {
        object.insert(QStringLiteral("dictation2"),
                      QJsonArray { row.dictation2Right[0], row.dictation2Right[1],
                                   row.dictation2Right[2] });
        object.insert(QStringLiteral("dictation2Total"), row.dictation2Total());
    } else {
        object.insert(QStringLiteral("dictation2"), QJsonValue(QJsonValue::Null));
        object.insert(QStringLiteral("dictation2Total"), QJsonValue(QJsonValue::Null));
    }
    object.insert(QStringLiteral("trin"), count(row.finished ? row.level() : -1));
    object.insert(QStringLiteral("finished"), row.finished);
    object.insert(QStringLiteral("report"), row.reportName);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

bool parse(const QByteArray &bytes, ResultRow *row, QString *reason)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        *reason = tr("Filen er beskadiget.");
        return false;
    }
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(formatName)) {
        *reason = tr("Filen er ikke fra Skrivlo.");
        return false;
    }
    const QJsonValue version = object.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != formatVersion) {
        *reason = version.isDouble() && version.toDouble() > formatVersion
                ? tr("Filen er fra en nyere udgave af Skrivlo.")
                : tr("Filen er beskadiget.");
        return false;
    }

    ResultRow read;
    const auto text = [&object](const char *key, QString *out) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isString())
            return false;
        *out = value.toString();
        return true;
    };
    QString started;
    bool valid = text("started", &started) && text("pc", &read.pc)
            && text("place", &read.place) && text("name", &read.name)
            && text("birthYear", &read.birthYear) && text("report", &read.reportName);
    read.started = QDateTime::fromString(started, QLatin1String(dateFormat));
    valid = valid && read.started.isValid();
    // The report is named inside the class folder; a path would point a reader elsewhere.
    valid = valid && read.reportName.endsWith(QLatin1String(".html"))
            && !read.reportName.contains(QLatin1Char('/'))
            && !read.reportName.contains(QLatin1Char('\\'));

    valid = valid && readCount(object.value(QStringLiteral("dictation1")), 20, &read.dictation1Right);
    const QJsonValue finished = object.value(QStringLiteral("finished"));
    valid = valid && finished.isBool();
    read.finished = finished.toBool();

    const QJsonValue dictation2 = object.value(QStringLiteral("dictation2"));
    int total = -1;
    valid = valid && readCount(object.value(QStringLiteral("dictation2Total")), 60, &total);
    if (dictation2.isArray()) {
        const QJsonArray counts = dictation2.toArray();
        valid = valid && counts.size() == 3 && read.dictation1Right >= 0;
        for (int i = 0; valid && i < 3; ++i)
            valid = readCount(counts.at(i), 60, &read.dictation2Right[i])
                    && read.dictation2Right[i] >= 0;
        valid = valid && total == read.dictation2Total();
    } else {
        valid = valid && dictation2.isNull() && total == -1;
    }

    int level = -1;
    valid = valid && readCount(object.value(QStringLiteral("trin")), 4, &level);
    valid = valid && level == (read.finished ? read.level() : -1);

    if (!valid) {
        *reason = tr("Filen er beskadiget.");
        return false;
    }
    *row = read;
    return true;
}

} // namespace LearnerDataText
