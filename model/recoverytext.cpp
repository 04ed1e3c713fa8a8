#include "model/recoverytext.h"

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

bool parse(const QByteArray &bytes, RecoveryState *state, QString *reason)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || root.value(QStringLiteral("format")).toString() != formatName) {
        *reason = tr("Filen er beskadiget eller ufuldstændig.");
        return false;
    }
    if (root.value(QStringLiteral("version")).toInt() != formatVersion) {
        *reason = tr("Filen er fra en anden version af programmet.");
        return false;
    }
    RecoveryState read;
    LearnerRecord &learner = read.learner;
    learner.started = QDateTime::fromString(root.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs);
    for (const QJsonValue &value : root.value(QStringLiteral("details")).toArray())
        learner.details.append(value.toString());
    learner.reportName = root.value(QStringLiteral("reportName")).toString();
    learner.document = root.value(QStringLiteral("document")).toString();
    learner.dictation1Right = root.value(QStringLiteral("dictation1Right")).toInt(-1);
    const QJsonArray d2 = root.value(QStringLiteral("dictation2Right")).toArray();
    for (int i = 0; i < 3; ++i)
        learner.dictation2Right[i] = d2.at(i).toInt(-1);
    const int page = root.value(QStringLiteral("page")).toInt(-1);
    const QJsonObject fields = root.value(QStringLiteral("fields")).toObject();
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it)
        read.fields.insert(it.key(), it.value().toString());
    read.workedMs = qint64(root.value(QStringLiteral("workedMs")).toDouble(-1));
    // A name that could lead the report out of its folder is as damaged as a cut-off file.
    const bool sane = learner.started.isValid() && page >= int(TestStep::Details)
            && page <= int(TestStep::Dictation2) && read.workedMs >= 0
            && !learner.reportName.contains(QLatin1Char('/')) && !learner.reportName.contains(QLatin1Char('\\'))
            && learner.reportName != QLatin1String("..");
    if (!sane) {
        *reason = tr("Filen er beskadiget eller ufuldstændig.");
        return false;
    }
    read.step = TestStep(page);
    *state = read;
    return true;
}

} // namespace RecoveryText
