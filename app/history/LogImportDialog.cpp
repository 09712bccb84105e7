// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/LogImportDialog.h"

#include "ui/mb.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QProgressDialog>

namespace history {

void importLogs(QWidget *parent, TelemetryStore &store, const TelemetryDecoder &decoder,
                LogImporter::SideOf sideOf, const QString &logFolder)
{
    const QStringList files = QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Import Logs"), logFolder, QStringLiteral("Logs (*.TXT *.txt)"));
    if (files.isEmpty())
        return;
    LogImporter importer(store, decoder, std::move(sideOf));
    importer.start(files);

    // Progress in KiB, so that years of logs fit the dialog's int range.
    const auto kib = [](qint64 bytes) { return static_cast<int>(bytes / 1024); };
    QProgressDialog progress(
        QStringLiteral("Importing telemetry from %1 log files...").arg(files.size()),
        QStringLiteral("Cancel"), 0, std::max(1, kib(importer.progress().bytesTotal)), parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    while (!progress.wasCanceled() && importer.step()) {
        progress.setValue(kib(importer.progress().bytesDone));
        QCoreApplication::processEvents();
    }
    progress.setValue(progress.maximum());
    mb::ShowMsg(parent,
                (progress.wasCanceled() ? QStringLiteral("Import cancelled. ") : QString()) +
                    importer.summary(),
                importer.progress().failed ? mb::vbExclamation : mb::vbInformation);
}

} // namespace history
