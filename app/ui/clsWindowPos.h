// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "shared/clsIni.h"

#include <QPointer>
#include <QString>

class QWidget;

// Remembers where a window was and how large, in section SETUP of the
// settings file under <name>_LEFT, _TOP and, for a resizable window, _WIDTH,
// _HEIGHT and _MAXIMIZED. Positions are twips (ScreenTwips), so the files
// match those of the Windows program.
//
// The owner's part:
//   1. when the window loads: create the object and call Init;
//   2. in the window's resize handler, whenever it is not minimised: set
//      blnBeenInResize, lay out, then call RecordPosition;
//   3. when the window unloads: destroy the object while the window still
//      exists; the destructor records the placement once more and writes it.
class clsWindowPos
{
public:
    clsWindowPos() = default;
    ~clsWindowPos();
    clsWindowPos(const clsWindowPos &) = delete;
    clsWindowPos &operator=(const clsWindowPos &) = delete;

    // Set by the owner once the window has been resized while not minimised.
    bool blnBeenInResize = false;
    // The settings store used; Init replaces it.
    clsIni cIni;

    // Centres the window on the screen, then applies the stored placement,
    // writing the centred one for keys not yet in the file. Without `ini`
    // the default settings file is used.
    void Init(QWidget *window, const QString &name, const clsIni *ini = nullptr);
    // Notes the current placement: a maximised window keeps the last normal
    // rectangle, a minimised one is not recorded at all.
    void RecordPosition();

private:
    void SavePosition();
    void RestorePosition();
    void CenterForm();
    bool isSizable() const;
    double readNumber(const QString &word, double currentValue);

    QPointer<QWidget> window_;
    bool initialised_ = false;
    bool sizable_ = false;
    QString strPrefix;
    QString strSection;
    // Last normal placement, twips.
    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
    // 0 = normal, 2 = maximised.
    qint16 intWindowState = 0;
};
