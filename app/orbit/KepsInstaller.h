// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// What became of one downloaded file.
struct KepsInstallResult
{
    enum Outcome {
        Installed, // the element file is in the Keps folder
        TooShort,  // too small to be an element file; nothing written
        WebPage,   // no element file: kept as File1.HTML / File2.HTML instead
        Failed,    // a file could not be read or written
    };
    Outcome outcome = Failed;
    QString error;  // empty when installed
    QString notice; // installed, but worth telling: a tracked satellite's set was kept
    // Tracked satellites the new file lacked, whose sets were carried over
    // from the old file ("ORVEX (26931)"): the update is only partly done.
    QStringList keptSets;

    bool installed() const { return outcome == Installed; }
};

// Puts downloaded element files into the program's Keps folder. All paths
// are below the program folder given to the constructor:
//   tempkeps.$$$          the raw download
//   Keps/<file name>      the installed element file
//   File1.HTML, File2.HTML where a download that is no element file goes
class KepsInstaller
{
public:
    // Below this many bytes a download cannot hold an element set.
    static constexpr qint64 minimumDownloadSize = 80;

    explicit KepsInstaller(const QString &programFolder);

    // Catalogue numbers of the satellites the station tracks. A new file
    // never takes a tracked satellite's set away: when it lacks one that the
    // old file of its name had, and no other element file of the Keps folder
    // (the demo sets aside) holds that satellite, the old set is carried over
    // into the new file, and the result says so.
    void setTrackedSatellites(const QList<int> &catalogNumbers) { tracked_ = catalogNumbers; }

    // The address to fetch for the text typed in an address box: trimmed,
    // with "http://" in front unless it already starts with "http://" or
    // "https://" (in any letter case).
    static QString fullAddress(const QString &typed);

    // The file name an address is saved under: the text after its last "/"
    // or "\", cut before the first character that cannot be in a file name
    // (\ / : * ? " < > | and control characters). Empty - the address
    // counts as blank - when nothing usable is left, or the name is "." or "..".
    static QString fileNameFromAddress(const QString &address);

    // How much of a text (CR LF or LF line ends) is element sets with good
    // checksums.
    struct ElementShare
    {
        int lines = 0;    // non-blank lines
        int setLines = 0; // of those, lines of element sets (name, line 1, line 2)
    };
    static ElementShare elementShare(const QByteArray &text);
    // True when at least 90 % of the non-blank lines are parts of element
    // sets with good checksums, and there is at least one: a body that is
    // mostly something else is no element file, whatever sets it holds.
    static bool isElementFile(const QByteArray &text);
    // True when the text has an <html> tag, in any letter case.
    static bool looksLikeWebPage(const QByteArray &text);

    QString rawDownloadFile() const;
    QString kepsFolder() const;
    // Index 0 or 1: File1.HTML or File2.HTML in the program folder.
    QString webPageFile(int index) const;

    // Installs the raw download `tempFile` as Keps/<fileName> with CR LF line
    // ends. `downloadedBytes` is the size of the body as received. Anything
    // that is not an element file (isElementFile) is put in the web-page file
    // of `index` instead, the error saying why, and the element file already
    // in Keps stays as it was; the replacement itself is atomic, so a failure
    // never leaves half a file. Tracked sets are kept as setTrackedSatellites says.
    KepsInstallResult install(const QString &tempFile, const QString &fileName, int index,
                              qint64 downloadedBytes) const;

    // A download as received: writes `body` and a closing CR LF to the raw
    // download file, then installs that as install() does. When the raw file
    // cannot be written the outcome is Failed, naming the file and the reason.
    KepsInstallResult installDownload(const QByteArray &body, const QString &fileName,
                                      int index) const;

private:
    // Why a text that is not an element file was kept aside.
    static QString notAnElementFile(const QByteArray &text, const QString &keptAs);
    struct KeptSet
    {
        int catalogNumber = 0;
        double epochJd = 0; // UTC
        QString shownName;  // "ORVEX (26931)"
        QByteArray lines;   // as the old file had them, each ending in CR LF
    };
    // The tracked sets of the installed file `oldText` that `newText` and the
    // other files of the Keps folder lack.
    std::vector<KeptSet> setsToKeep(const QByteArray &oldText, const QByteArray &newText,
                                    const QString &fileName) const;
    // True when an element file of the Keps folder other than `fileName`, and
    // not the demo sets, holds a good set of `catalogNumber`.
    bool heldElsewhere(int catalogNumber, const QString &fileName) const;

    QString folder_; // with a trailing "/"
    QList<int> tracked_;
};
