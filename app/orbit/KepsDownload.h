// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <array>

// One run of the element set download: up to two files, fetched one after
// the other, with what became of each. The window drives it; this class only
// keeps the run's state and words its messages.
class KepsDownload
{
public:
    static constexpr int fileCount = 2;

    // Starts a run from the texts of the two address boxes. False when both
    // give no file name (both are "blank"); then nothing is fetched.
    bool start(const QString &typed1, const QString &typed2);

    int currentIndex() const { return current_; }
    QString address(int index) const { return addresses_[slot(index)]; }
    QString fileName(int index) const { return fileNames_[slot(index)]; }
    QString error(int index) const { return errors_[slot(index)]; }
    void setError(int index, const QString &text) { errors_[slot(index)] = text; }
    // Something worth telling about a file that was installed.
    QString notice(int index) const { return notices_[slot(index)]; }
    void setNotice(int index, const QString &text) { notices_[slot(index)] = text; }

    // After a completed file: moves on to the second file when there is one
    // still to fetch and returns true; false when the run is over.
    bool moveToNextFile();

    // The message shown when the run is over, with the notices and the
    // errors of both files.
    QString finishedMessage() const;

    // The status box text after one more line: past 10000 characters only
    // its last 10000 are kept, then the line and CR LF are added.
    static QString withStatusLine(const QString &box, const QString &line);

    // The status line for a transfer state, or empty for states that add none.
    static QString statusLine(int state, const QString &host);

    bool busy = false;      // a transfer is running
    bool installed = false; // at least one element file has been installed

private:
    static size_t slot(int index) { return index == 1 ? 1 : 0; }

    std::array<QString, fileCount> addresses_;
    std::array<QString, fileCount> fileNames_;
    std::array<QString, fileCount> errors_;
    std::array<QString, fileCount> notices_;
    int current_ = 0;
};
