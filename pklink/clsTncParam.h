// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

enum class PARAM_TYPE : qint16 { // NOLINT(readability-identifier-naming): the interface's name
    PARAM_COMMAND = 0,
    PARAM_CALLSIGN = 1,
    PARAM_STRING = 2,
    PARAM_NUM = 3,
};

// Describes one TNC parameter: its name, its kind and how many arguments it
// takes. Part of the library's interface; nothing in the library uses it.
class clsTncParam
{
public:
    PARAM_TYPE eType() const { return type_; }
    void setEType(const PARAM_TYPE &value) { type_ = value; }
    qint16 intMinArgCount() const { return minArgCount_; }
    void setIntMinArgCount(const qint16 &value) { minArgCount_ = value; }
    qint16 intMaxArgCount() const { return maxArgCount_; }
    void setIntMaxArgCount(const qint16 &value) { maxArgCount_ = value; }
    QString strParam() const { return param_; }
    void setStrParam(const QString &value) { param_ = value; }

private:
    PARAM_TYPE type_ = PARAM_TYPE::PARAM_COMMAND;
    qint16 minArgCount_ = 0;
    qint16 maxArgCount_ = 0;
    QString param_;
};
