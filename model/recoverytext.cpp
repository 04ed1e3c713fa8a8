#include "model/recoverytext.h"

#include "content/pagetexts.h"
#include "content/storytable.h"
#include "model/reporttext.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString formatName = QStringLiteral("skrivlo-recovery");

QString tr(const char *text)
{
    return QCoreApplication::translate("RecoveryText", text);
}

QJsonArray toArray(const QStringList &list)
{
    QJsonArray array;
    for (const QString &s : list)
        array.append(s);
    return array;
}

} // namespace

bool RecoveryState::operator==(const RecoveryState &other) const
{
    const LearnerRecord &a = learner;
    const LearnerRecord &b = other.learner;
    return step == other.step && fields == other.fields && workedMs == other.workedMs
            && a.started == b.started && a.details == b.details && a.reportName == b.reportName
            && a.document == b.document && a.dictation1Right == b.dictation1Right
            && a.dictation2Right == b.dictation2Right && a.finished == b.finished;
}

namespace RecoveryText {

QByteArray serialise(const RecoveryState &state)
{
    const LearnerRecord &learner = state.learner;
    QJsonObject fields;
    for (auto it = state.fields.cbegin(); it != state.fields.cend(); ++it)
        fields.insert(it.key(), it.value());
    const QJsonObject root {
        { QStringLiteral("format"), formatName },
        { QStringLiteral("version"), formatVersion },
        { QStringLiteral("started"), learner.started.toString(Qt::ISODateWithMs) },
        { QStringLiteral("details"), toArray(learner.details) },
        { QStringLiteral("reportName"), learner.reportName },
        { QStringLiteral("document"), learner.document },
        { QStringLiteral("dictation1Right"), learner.dictation1Right },
        { QStringLiteral("dictation2Right"), QJsonArray { learner.dictation2Right[0], learner.dictation2Right[1],
                                                          learner.dictation2Right[2] } },
        { QStringLiteral("page"), int(state.step) },
        { QStringLiteral("fields"), fields },
        { QStringLiteral("workedMs"), double(state.workedMs) },
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// The saved test's key of an answer is its field's object name, "word" and the field's number.
constexpr QLatin1String answerPrefix("word");

QString answerKey(int field)
{
    return answerPrefix + QString::number(field);
}

bool isAnswerField(const QString &name)
{
    if (PageTexts::infoFieldObjectNames().contains(name))
        return true;
    if (!name.startsWith(answerPrefix))
        return false;
    bool number = false;
    const int n = name.mid(answerPrefix.size()).toInt(&number);
    const DictationTable &last = dictation2Table();
    return number && n >= dictation1Table().firstField && n < last.firstField + last.gaps().size()
            && name == answerKey(n);
}

namespace {

// Every key the program writes, and no other: a file with more or fewer is not one of ours.
const QStringList keys { QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("started"),
                         QStringLiteral("details"), QStringLiteral("reportName"), QStringLiteral("document"),
                         QStringLiteral("dictation1Right"), QStringLiteral("dictation2Right"),
                         QStringLiteral("page"), QStringLiteral("fields"), QStringLiteral("workedMs") };

// A whole number within [low, high], as the program writes it (JSON numbers are doubles).
bool wholeNumber(const QJsonValue &value, double low, double high, qint64 *out)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (!(d >= low && d <= high) || d != double(qint64(d)))
        return false;
    *out = qint64(d);
    return true;
}

bool strings(const QJsonValue &value, QStringList *out)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            return false;
        out->append(item.toString());
    }
    return true;
}

bool readState(const QJsonObject &root, RecoveryState *read)
{
    LearnerRecord &learner = read->learner;
    QStringList rootKeys = root.keys();
    rootKeys.sort();
    QStringList expected = keys;
    expected.sort();
    if (rootKeys != expected)
        return false;
    const QJsonValue started = root.value(QStringLiteral("started"));
    learner.started = QDateTime::fromString(started.toString(), Qt::ISODateWithMs);
    if (!started.isString() || !learner.started.isValid())
        return false;
    if (!strings(root.value(QStringLiteral("details")), &learner.details)
        || (!learner.details.isEmpty() && learner.details.size() != ReportText::detailCount))
        return false;
    const QJsonValue reportName = root.value(QStringLiteral("reportName"));
    const QJsonValue document = root.value(QStringLiteral("document"));
    if (!reportName.isString() || !document.isString())
        return false;
    learner.reportName = reportName.toString();
    learner.document = document.toString();
    // A name that could lead the report out of its folder is as damaged as a cut-off file.
    if (learner.reportName.contains(QLatin1Char('/')) || learner.reportName.contains(QLatin1Char('\\'))
        || (!learner.reportName.isEmpty() && !learner.reportName.endsWith(QLatin1String(".html"))))
        return false;
    // The report so far is always the one made from these details.
    if (!learner.document.isEmpty()
        && (learner.details.isEmpty() || !learner.document.startsWith(ReportText::header(learner.details))))
        return false;
    qint64 number = 0;
    if (!wholeNumber(root.value(QStringLiteral("dictation1Right")), -1, 20, &number))
        return false;
    learner.dictation1Right = int(number);
    const QJsonValue d2 = root.value(QStringLiteral("dictation2Right"));
    if (!d2.isArray() || d2.toArray().size() != 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!wholeNumber(d2.toArray().at(i), -1, 20, &number))
            return false;
        learner.dictation2Right[i] = int(number);
    }
    if ((learner.dictation2Right[0] < 0) != (learner.dictation2Right[1] < 0)
        || (learner.dictation2Right[0] < 0) != (learner.dictation2Right[2] < 0))
        return false;
    if (!wholeNumber(root.value(QStringLiteral("page")), int(TestStep::Details), int(TestStep::Dictation2), &number))
        return false;
    read->step = TestStep(number);
    // Only a learner who passed the first dictation reaches the second.
    if (int(read->step) > int(TestStep::Dictation1) && learner.dictation1Right < ReportText::dictation1PassMark)
        return false;
    if (int(read->step) > int(TestStep::Details) && learner.details.isEmpty())
        return false;
    const QJsonValue fields = root.value(QStringLiteral("fields"));
    if (!fields.isObject())
        return false;
    const QJsonObject object = fields.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (!it.value().isString() || !isAnswerField(it.key()))
            return false;
        read->fields.insert(it.key(), it.value().toString());
    }
    // Two dictations' time and then some; a day is far beyond any test.
    constexpr double day = 24.0 * 3600 * 1000;
    if (!wholeNumber(root.value(QStringLiteral("workedMs")), 0, day, &number))
        return false;
    read->workedMs = number;
    return true;
}

} // namespace

bool parse(const QByteArray &bytes, RecoveryState *state, QString *reason)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || root.value(QStringLiteral("format")) != QJsonValue(formatName)) {
        *reason = tr("Filen er beskadiget eller ufuldstændig.");
        return false;
    }
    if (root.value(QStringLiteral("version")) != QJsonValue(formatVersion)) {
        *reason = tr("Filen er fra en anden version af programmet.");
        return false;
    }
    RecoveryState read;
    if (!readState(root, &read)) {
        *reason = tr("Filen er beskadiget eller ufuldstændig.");
        return false;
    }
    *state = read;
    return true;
}

} // namespace RecoveryText
