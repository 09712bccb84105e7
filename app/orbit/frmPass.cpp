// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/frmPass.h"

#include "orbit/PassPrintout.h"
#include "ui/ElidedLabel.h"
#include "ui/mb.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmPass::frmPass(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPass"));
    setWindowTitle(QStringLiteral("ORVEX Pass Predictions"));
    auto *layout = new QVBoxLayout(this);
    // The note names the element set: text from a file, cut to the window's width.
    elementsLabel_ = new ElidedLabel(this);
    elementsLabel_->setObjectName(QStringLiteral("elements"));
    elementsLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    elementsLabel_->hide();
    layout->addWidget(elementsLabel_);
    txtInfo_ = new QPlainTextEdit(this);
    txtInfo_->setObjectName(QStringLiteral("txtInfo"));
    txtInfo_->setReadOnly(true);
    txtInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtInfo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const int width = txtInfo_->fontMetrics().horizontalAdvance(QString(60, QLatin1Char('0')));
    txtInfo_->setMinimumSize(width + 40, txtInfo_->fontMetrics().lineSpacing() * 24);
    layout->addWidget(txtInfo_);

    auto *buttons = new QHBoxLayout;
    cmdCopy_ = new QPushButton(QStringLiteral("C&opy"), this);
    cmdCopy_->setObjectName(QStringLiteral("cmdCopy"));
    cmdPrint_ = new QPushButton(QStringLiteral("&Print"), this);
    cmdPrint_->setObjectName(QStringLiteral("cmdPrint"));
    cmdFinished_ = new QPushButton(QStringLiteral("&Close"), this);
    cmdFinished_->setObjectName(QStringLiteral("cmdFinished"));
    for (QPushButton *button : {cmdCopy_, cmdPrint_, cmdFinished_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(cmdCopy_, &QPushButton::clicked, this, &frmPass::cmdCopy_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmPass::cmdPrint_Click);
    // Close and Esc end the window (QDialog maps Esc to reject).
    connect(cmdFinished_, &QPushButton::clicked, this, &QDialog::reject);

    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - frameGeometry().width()) / 2,
             (area.height() - frameGeometry().height()) / 2);
    }
}

void frmPass::setPassText(const QString &text)
{
    text_ = text;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    txtInfo_->setPlainText(shown);
}

void frmPass::setElementNote(const QString &text, bool warning)
{
    elementsLabel_->setText(text);
    elementsLabel_->setStyleSheet(warning ? QStringLiteral("color: #C00000;") : QString());
    elementsLabel_->setVisible(!text.isEmpty());
}

void frmPass::cmdCopy_Click()
{
    QGuiApplication::clipboard()->setText(text_);
}

bool frmPass::printTo(QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QFont font(QStringLiteral("Courier New"), 12);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    painter.setFont(font);
    const QStringList lines = passPrintout(windowTitle(), text_).split(QStringLiteral("\r\n"));
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    int y = lineHeight;
    for (const QString &line : lines) {
        if (y > pageHeight) {
            printer.newPage();
            y = lineHeight;
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
    return painter.end();
}

void frmPass::cmdPrint_Click()
{
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QPrinter printer(QPrinterInfo::defaultPrinter());
        if (printTo(printer))
            return;
        mb::ShowMsg(this,
                    QStringLiteral("The pass list could not be printed on ") +
                        QPrinterInfo::defaultPrinter().printerName() + QLatin1Char('.'),
                    mb::vbExclamation);
        return;
    }
    if (mb::ShowMsg(
            this,
            QStringLiteral("No printer is installed. Do you want to save the page as a PDF file "
                           "instead?"),
            mb::vbYesNo | mb::vbQuestion) != mb::vbYes)
        return;
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save Pass Predictions"),
                                                      QStringLiteral("passes.pdf"),
                                                      QStringLiteral("PDF files (*.pdf)"));
    if (file.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    if (!printTo(printer))
        mb::ShowMsg(this,
                    QStringLiteral("The file ") + file + QStringLiteral(" could not be written."),
                    mb::vbExclamation);
}
