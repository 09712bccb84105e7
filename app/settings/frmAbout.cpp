// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmAbout.h"

#include "settings/AboutText.h"
#include "ui/DialogSupport.h"
#include "version.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

QFrame *line(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    // The data folder's path is the system's, not ours to take for HTML.
    result->setTextFormat(Qt::PlainText);
    result->setWordWrap(true);
    return result;
}

} // namespace

frmAbout::frmAbout(QWidget *parent, const QString &dataFolder) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About The ORVEX Telemetry Decoder"));

    auto *pictureBox = new QLabel(this);
    pictureBox->setObjectName(QStringLiteral("picIcon"));
    pictureBox->setPixmap(picture(128));
    pictureBox->setAlignment(Qt::AlignTop);

    labAppTitle = label(this, "labAppTitle", QStringLiteral("ORVEX Telemetry Decoder"));
    QFont titleFont = labAppTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    labAppTitle->setFont(titleFont);
    labVersion = label(this, "labVersion",
                       orvex::versionLine(orvex::version::major, orvex::version::minor,
                                          orvex::version::revision,
                                          QString::fromLatin1(orvex::version::fileDescription)));
    labAuthor = label(this, "labAuthor", QString::fromLatin1(orvex::version::comments));
    labCopyright =
        label(this, "labCopyright",
              QString::fromLatin1(orvex::version::legalCopyright) + QStringLiteral("\r\n"));
    auto *credits =
        label(this, "credits",
              QStringLiteral("Written by ") + QString::fromLatin1(orvex::version::author) +
                  QStringLiteral(".\n") + orvex::creditsText());
    cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(labAppTitle);
    texts->addWidget(labVersion);
    texts->addWidget(line(this));
    texts->addWidget(labAuthor);
    texts->addWidget(labCopyright);
    texts->addWidget(line(this));
    texts->addWidget(credits);
    if (!dataFolder.isEmpty()) {
        texts->addWidget(line(this));
        auto *folder = label(this, "dataFolder", orvex::dataFolderText(dataFolder));
        folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
        texts->addWidget(folder);
    }
    auto *top = new QHBoxLayout;
    top->addWidget(pictureBox);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    orvex::centreOnScreen(this);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        cmdOk->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

QPixmap frmAbout::picture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(QColor(8, 12, 40));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);

    // A few stars, then the Earth's limb across the bottom.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 255));
    for (const QPointF star : {QPointF(12, 14), QPointF(40, 8), QPointF(110, 20), QPointF(96, 48),
                               QPointF(20, 60), QPointF(70, 18)})
        p.drawEllipse(star, 0.9, 0.9);
    QRadialGradient earth(QPointF(64, 250), 170);
    earth.setColorAt(0.0, QColor(40, 110, 200));
    earth.setColorAt(0.85, QColor(20, 70, 160));
    earth.setColorAt(1.0, QColor(120, 190, 255));
    p.setBrush(earth);
    p.drawEllipse(QPointF(64, 250), 150, 150);

    // The cube: front, top and side faces in perspective.
    const QPolygonF front({{40, 44}, {80, 44}, {80, 84}, {40, 84}});
    const QPolygonF topFace({{40, 44}, {54, 32}, {94, 32}, {80, 44}});
    const QPolygonF side({{80, 44}, {94, 32}, {94, 72}, {80, 84}});
    p.setPen(QPen(QColor(200, 200, 210), 1.2));
    p.setBrush(QColor(30, 40, 90));
    p.drawPolygon(front);
    p.setBrush(QColor(50, 60, 120));
    p.drawPolygon(topFace);
    p.setBrush(QColor(20, 28, 70));
    p.drawPolygon(side);

    // Solar cells on the front face.
    p.setPen(QPen(QColor(90, 110, 180), 0.8));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(40 + i * 10, 44), QPointF(40 + i * 10, 84));
        p.drawLine(QPointF(40, 44 + i * 10), QPointF(80, 44 + i * 10));
    }

    // Whip antennas from the corners.
    p.setPen(QPen(QColor(240, 240, 240), 1.4));
    p.drawLine(QPointF(40, 84), QPointF(14, 108));
    p.drawLine(QPointF(80, 84), QPointF(104, 110));
    p.drawLine(QPointF(54, 32), QPointF(36, 6));
    p.drawLine(QPointF(94, 32), QPointF(120, 10));

    // A signal arc going out.
    p.setPen(QPen(QColor(255, 200, 60), 1.5));
    p.setBrush(Qt::NoBrush);
    for (int r = 8; r <= 20; r += 6)
        p.drawArc(QRectF(100 - r, 80 - r, 2 * r, 2 * r), -30 * 16, 60 * 16);
    return pixmap;
}
