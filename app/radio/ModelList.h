// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <vector>

// The radio and rotator models Hamlib knows, as `rigctl -l` and `rotctl -l`
// print them: a header line naming the columns, then one model a line in
// columns of fixed width (names may hold blanks):
//
//    Rig #  Mfg                    Model                   Version         Status      Macro
//        1  Hamlib                 Dummy                   20221128.0      Stable RIG_MODEL_DUMMY
//     1004  Yaesu                  MARK-V FT-1000MP        20230104.0      Stable
//     RIG_MODEL_FT1000MPMKV
namespace radio {

struct HamlibModel
{
    int number = 0;
    QString maker;  // "Yaesu"
    QString name;   // "MARK-V FT-1000MP"
    QString status; // "Stable", "Beta", "Alpha", "Untested"
};

// The models of the list, in its order; nothing when the text has no header
// naming the Mfg and Model columns. Lines that name no model are skipped.
std::vector<HamlibModel> parseModelList(const QString &text);

// "1004  Yaesu MARK-V FT-1000MP"
QString modelText(const HamlibModel &model);

// Runs `rigctl -l` or `rotctl -l` without waiting for it.
class ModelListQuery : public QObject
{
    Q_OBJECT
public:
    explicit ModelListQuery(QObject *parent = nullptr);
    // `program` is "rigctl" or "rotctl".
    void start(const QString &program);

signals:
    // The models, or nothing and why.
    void finished(const std::vector<radio::HamlibModel> &models, const QString &problem);

private:
    QProcess process_;
    QString program_;
    bool reported_ = false;
};

} // namespace radio
