// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/clsWindowPos.h"

#include "platform/ScreenTwips.h"
#include "shared/NumberText.h"
#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace {

constexpr qint16 stateNormal = 0;
constexpr qint16 stateMaximised = 2;

} // namespace

clsWindowPos::~clsWindowPos()
{
    if (!initialised_)
        return;
    RecordPosition();
    SavePosition();
}

void clsWindowPos::Init(QWidget *window, const QString &name, const clsIni *ini)
{
    cIni = ini ? *ini : clsIni();
    window_ = window;
    strSection = QStringLiteral("SETUP");
    strPrefix = name + QLatin1Char('_');
    if (!window_)
        return;
    initialised_ = true;
    sizable_ = isSizable();
    CenterForm();
    RestorePosition();
}

bool clsWindowPos::isSizable() const
{
    return window_->minimumSize() != window_->maximumSize() &&
           !window_->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

void clsWindowPos::CenterForm()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize screenSize = screen->geometry().size();
    const QSize outer = window_->frameGeometry().size();
    window_->move((screenSize.width() - outer.width()) / 2,
                  (screenSize.height() - outer.height()) / 2);
}

double clsWindowPos::readNumber(const QString &word, double currentValue)
{
    return orvex::leadingNumber(cIni.GetIniStringWriteDefault(strSection, strPrefix + word,
                                                              orvex::generalNumber(currentValue)));
}

void clsWindowPos::RestorePosition()
{
    const QPoint centred = window_->pos();
    const QSize designed = window_->size();

    left_ = readNumber(QStringLiteral("LEFT"), ScreenTwips::toTwipsX(centred.x()));
    top_ = readNumber(QStringLiteral("TOP"), ScreenTwips::toTwipsY(centred.y()));
    QPoint position(ScreenTwips::toPixelsX(left_), ScreenTwips::toPixelsY(top_));
    QSize size = designed;

    bool maximised = false;
    if (sizable_) {
        width_ = readNumber(QStringLiteral("WIDTH"), ScreenTwips::toTwipsX(designed.width()));
        height_ = readNumber(QStringLiteral("HEIGHT"), ScreenTwips::toTwipsY(designed.height()));
        const QSize stored(ScreenTwips::toPixelsX(width_), ScreenTwips::toPixelsY(height_));
        if (stored.width() > 0 && stored.height() > 0) {
            size = stored;
        } else {
            // A size no window can have keeps the designed size.
            width_ = ScreenTwips::toTwipsX(designed.width());
            height_ = ScreenTwips::toTwipsY(designed.height());
        }
        maximised = clsIni::IsItTrue(cIni.GetIniStringWriteDefault(
            strSection, strPrefix + QStringLiteral("MAXIMIZED"), QStringLiteral("FALSE")));
    }

    // A placement off the screens attached now (stored on a larger one, or
    // on a display since removed) would leave the window out of reach:
    // it is brought onto a screen. Once framed, the window is centred (when
    // it has the centred place) or kept on the screen by its frame.
    const QSize frameExtra = window_->frameGeometry().size() - designed;
    const QRect onScreens = orvex::placementOnScreens(QRect(position, size + frameExtra));
    if (onScreens.topLeft() != position) {
        position = onScreens.topLeft();
        left_ = ScreenTwips::toTwipsX(position.x());
        top_ = ScreenTwips::toTwipsY(position.y());
    }
    if (sizable_ && onScreens.size() != size + frameExtra)
        size = onScreens.size() - frameExtra;

    window_->move(position);
    if (sizable_)
        window_->resize(size);
    orvex::placeWhenFramed(window_, position == centred && size == designed
                                        ? orvex::WhenFramed::Centre
                                        : orvex::WhenFramed::KeepOnScreen);
    if (maximised) {
        window_->setWindowState(window_->windowState() | Qt::WindowMaximized);
        intWindowState = stateMaximised;
    }
}

void clsWindowPos::RecordPosition()
{
    if (!window_)
        return;
    if (window_->isMaximized()) {
        intWindowState = stateMaximised;
        return;
    }
    if (window_->isMinimized())
        return;
    if (blnBeenInResize)
        intWindowState = stateNormal;
    left_ = ScreenTwips::toTwipsX(window_->pos().x());
    top_ = ScreenTwips::toTwipsY(window_->pos().y());
    width_ = ScreenTwips::toTwipsX(window_->width());
    height_ = ScreenTwips::toTwipsY(window_->height());
}

void clsWindowPos::SavePosition()
{
    // One write of the file, so that a kill never leaves half a placement.
    QList<std::pair<QString, QString>> keys{
        {strPrefix + QStringLiteral("LEFT"), orvex::generalNumber(left_)},
        {strPrefix + QStringLiteral("TOP"), orvex::generalNumber(top_)}};
    if (sizable_)
        keys += {{strPrefix + QStringLiteral("WIDTH"), orvex::generalNumber(width_)},
                 {strPrefix + QStringLiteral("HEIGHT"), orvex::generalNumber(height_)},
                 {strPrefix + QStringLiteral("MAXIMIZED"),
                  clsIni::TrueOrFalse(intWindowState == stateMaximised)}};
    cIni.SaveIniStrings(strSection, keys);
}
