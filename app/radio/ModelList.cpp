// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/ModelList.h"

namespace radio {

namespace {
QString column(const QString &line, qsizetype from, qsizetype to)
{
    if (from >= line.size())
        return {};
    return line.mid(from, to < 0 ? -1 : to - from).trimmed();
}
} // namespace

std::vector<HamlibModel> parseModelList(const QString &text)
{
    std::vector<HamlibModel> models;
    const QStringList lines = text.split(QLatin1Char('\n'));
    qsizetype header = -1;
    for (qsizetype i = 0; i < lines.size() && header < 0; ++i)
        if (lines[i].contains(QLatin1String("Mfg")) && lines[i].contains(QLatin1String("Model")))
            header = i;
    if (header < 0)
        return models;
    const QString &head = lines[header];
    const qsizetype maker = head.indexOf(QLatin1String("Mfg"));
    const qsizetype name = head.indexOf(QLatin1String("Model"), maker);
    const qsizetype version = head.indexOf(QLatin1String("Version"), name);
    const qsizetype status = head.indexOf(QLatin1String("Status"), name);
    const qsizetype macro = head.indexOf(QLatin1String("Macro"), name);
    if (name < 0)
        return models;
    for (qsizetype i = header + 1; i < lines.size(); ++i) {
        const QString &line = lines[i];
        bool ok = false;
        const int number = line.left(maker).trimmed().toInt(&ok);
        if (!ok || number <= 0)
            continue;
        HamlibModel model;
        model.number = number;
        model.maker = column(line, maker, name);
        model.name = column(line, name, version);
        if (status >= 0)
            model.status = column(line, status, macro);
        if (!model.name.isEmpty())
            models.push_back(model);
    }
    return models;
}

QString modelText(const HamlibModel &model)
{
    return QStringLiteral("%1  %2 %3").arg(model.number).arg(model.maker, model.name);
}

ModelListQuery::ModelListQuery(QObject *parent) : QObject(parent)
{
    connect(&process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus) {
        if (reported_)
            return;
        reported_ = true;
        const std::vector<HamlibModel> models =
            parseModelList(QString::fromLocal8Bit(process_.readAllStandardOutput()));
        if (models.empty())
            emit finished(models, QStringLiteral("%1 -l gave no model list (exit code %2)")
                                      .arg(program_)
                                      .arg(exitCode));
        else
            emit finished(models, QString());
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (reported_ || error != QProcess::FailedToStart)
            return;
        reported_ = true;
        emit finished({}, QStringLiteral("%1 cannot be started (%2); is Hamlib installed?")
                              .arg(program_, process_.errorString()));
    });
}

void ModelListQuery::start(const QString &program)
{
    program_ = program;
    reported_ = false;
    // The list is printed at once; no input is read.
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.start(program, {QStringLiteral("-l")});
}

} // namespace radio
