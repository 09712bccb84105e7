// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/KepsInstaller.h"

#include "orbit/DemoElements.h"
#include "orbit/LineEndConverter.h"
#include "orbitengine/ElementLines.h"
#include "orbitengine/Tle.h"
#include "platform/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <string_view>

namespace {

bool isForbiddenInFileName(QChar c)
{
    return c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c);
}

orbit::ElementText readSets(const QByteArray &text)
{
    return orbit::readElementText(
        std::string_view(text.constData(), static_cast<size_t>(text.size())));
}

bool isGzip(const QByteArray &text)
{
    return text.startsWith("\x1f\x8b");
}

QByteArray bytesOf(std::string_view text)
{
    return {text.data(), static_cast<qsizetype>(text.size())};
}

// Every good set of a text, with the lines it stands on (CR LF line ends).
struct SetWithLines
{
    orbit::ElementSet set;
    QByteArray lines;
};
std::vector<SetWithLines> setsWithLines(const QByteArray &text)
{
    std::vector<SetWithLines> found;
    orbit::ElementLineReader reader([&found](const orbit::ElementLines &lines) {
        orbit::ElementSetResult result =
            orbit::parseElementSet(lines.name, lines.line1, lines.line2);
        if (!result.set)
            return;
        QByteArray block;
        if (!lines.name.empty())
            block += bytesOf(lines.name) + "\r\n";
        block += bytesOf(lines.line1) + "\r\n" + bytesOf(lines.line2) + "\r\n";
        found.push_back({std::move(*result.set), block});
    });
    reader.feed(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    reader.finish();
    return found;
}

QString shownName(const orbit::ElementSet &set)
{
    QString number = QString::number(set.catalogNumber);
    if (set.name.empty())
        return number;
    return QString::fromLatin1(set.name.data(), static_cast<qsizetype>(set.name.size())) +
           QStringLiteral(" (") + number + QLatin1Char(')');
}

} // namespace

KepsInstaller::KepsInstaller(const QString &programFolder)
    : folder_(QDir::cleanPath(programFolder) + QLatin1Char('/'))
{
}

QString KepsInstaller::fullAddress(const QString &typed)
{
    QString text = typed.trimmed();
    if (text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return text;
    return QStringLiteral("http://") + text;
}

QString KepsInstaller::fileNameFromAddress(const QString &address)
{
    const qsizetype lastSeparator =
        std::max(address.lastIndexOf(QLatin1Char('/')), address.lastIndexOf(QLatin1Char('\\')));
    QString name = address.mid(lastSeparator + 1);
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isForbiddenInFileName(name[i])) {
            name.truncate(i);
            break;
        }
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name;
}

KepsInstaller::ElementShare KepsInstaller::elementShare(const QByteArray &text)
{
    ElementShare share;
    for (const QByteArray &line : text.split('\n'))
        share.lines += line.trimmed().isEmpty() ? 0 : 1;
    for (const orbit::ElementSet &set : readSets(text).sets)
        share.setLines += set.name.empty() ? 2 : 3;
    return share;
}

bool KepsInstaller::isElementFile(const QByteArray &text)
{
    const ElementShare share = elementShare(text);
    return share.setLines > 0 && share.setLines * 10 >= share.lines * 9;
}

bool KepsInstaller::looksLikeWebPage(const QByteArray &text)
{
    static const QRegularExpression tag(QStringLiteral("<html[\\s>]"),
                                        QRegularExpression::CaseInsensitiveOption);
    return tag.match(QString::fromLatin1(text)).hasMatch();
}

QString KepsInstaller::rawDownloadFile() const
{
    return folder_ + QStringLiteral("tempkeps.$$$");
}

QString KepsInstaller::kepsFolder() const
{
    return folder_ + QStringLiteral("Keps");
}

QString KepsInstaller::webPageFile(int index) const
{
    return folder_ + QStringLiteral("File%1.HTML").arg(index + 1);
}

KepsInstallResult KepsInstaller::install(const QString &tempFile, const QString &fileName,
                                         int index, qint64 downloadedBytes) const
{
    KepsInstallResult result;
    if (downloadedBytes < minimumDownloadSize) {
        result.outcome = KepsInstallResult::TooShort;
        result.error = fileName + QStringLiteral(" is too short to be an element file");
        return result;
    }

    QFile raw(tempFile);
    if (!raw.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Cannot read ") + QDir::toNativeSeparators(tempFile);
        return result;
    }
    LineEndConverter converter;
    QByteArray text;
    text.reserve(raw.size() + raw.size() / 16);
    while (!raw.atEnd()) {
        const QByteArray block = raw.read(LineEndConverter::blockSize);
        if (block.isEmpty())
            break;
        text += converter.convertBlock(block);
    }
    raw.close();

    QString why;
    if (looksLikeWebPage(text) || !isElementFile(text)) {
        result.outcome = KepsInstallResult::WebPage;
        const QString page = webPageFile(index);
        result.error = notAnElementFile(text, page);
        if (!orvex::writeWholeFile(page, text, &why))
            result.error += QStringLiteral(" (it could not be written: ") + why + QLatin1Char(')');
        return result;
    }

    // The name is a plain file name by now; this check keeps it so.
    if (fileName.isEmpty() || fileName != fileNameFromAddress(fileName)) {
        result.error = QStringLiteral("Cannot install a file named ") + fileName;
        return result;
    }
    const QString target = kepsFolder() + QLatin1Char('/') + fileName;
    QByteArray oldText;
    if (QFile old(target); !tracked_.isEmpty() && old.open(QIODevice::ReadOnly))
        oldText = old.readAll();
    const std::vector<KeptSet> kept = setsToKeep(oldText, text, fileName);
    for (const KeptSet &set : kept)
        text += set.lines;
    if (!QDir().mkpath(kepsFolder()))
        why = QStringLiteral("the folder ") + QDir::toNativeSeparators(kepsFolder()) +
              QStringLiteral(" cannot be made");
    if (!why.isEmpty() || !orvex::writeWholeFile(target, text, &why)) {
        result.error = QStringLiteral("Cannot write ") + QDir::toNativeSeparators(target) +
                       (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        return result;
    }
    result.outcome = KepsInstallResult::Installed;
    for (const KeptSet &set : kept)
        result.keptSets << set.shownName;
    if (!kept.empty())
        result.notice =
            QStringLiteral("The new ") + fileName + QStringLiteral(" lacks ") +
            result.keptSets.join(QStringLiteral(" and ")) +
            (kept.size() == 1 ? QStringLiteral("; the set the old file held was kept.")
                              : QStringLiteral("; the sets the old file held were kept."));
    return result;
}

QString KepsInstaller::notAnElementFile(const QByteArray &text, const QString &keptAs)
{
    const QString lookAt = QStringLiteral("Have a look at ") + QDir::toNativeSeparators(keptAs);
    if (looksLikeWebPage(text))
        return QStringLiteral("The data appears to be an HTML file. ") + lookAt;
    if (isGzip(text))
        return QStringLiteral("The data is compressed (gzip), not an element file. ") + lookAt;
    const ElementShare share = elementShare(text);
    return QStringLiteral("The data is not an element file: %1 of its %2 lines are parts of "
                          "element sets. ")
               .arg(share.setLines)
               .arg(share.lines) +
           lookAt;
}

std::vector<KepsInstaller::KeptSet> KepsInstaller::setsToKeep(const QByteArray &oldText,
                                                              const QByteArray &newText,
                                                              const QString &fileName) const
{
    std::vector<KeptSet> kept;
    if (oldText.isEmpty())
        return kept;
    QList<int> inNew;
    for (const orbit::ElementSet &set : readSets(newText).sets)
        inNew.append(set.catalogNumber);
    QList<int> elsewhere;
    for (const SetWithLines &old : setsWithLines(oldText)) {
        const int number = old.set.catalogNumber;
        if (!tracked_.contains(number) || inNew.contains(number) || elsewhere.contains(number))
            continue;
        const KeptSet set{number, old.set.epochJd(), shownName(old.set), old.lines};
        const auto same = std::find_if(kept.begin(), kept.end(), [number](const KeptSet &k) {
            return k.catalogNumber == number;
        });
        if (same != kept.end()) {
            // Of two sets of one satellite the newer is kept.
            if (set.epochJd > same->epochJd)
                *same = set;
        } else if (heldElsewhere(number, fileName)) {
            elsewhere.append(number);
        } else {
            kept.push_back(set);
        }
    }
    return kept;
}

bool KepsInstaller::heldElsewhere(int catalogNumber, const QString &fileName) const
{
    const QDir keps(kepsFolder());
    for (const QString &other : keps.entryList(QDir::Files, QDir::Name)) {
        const QString path = keps.filePath(other);
        // Regular files only: a FIFO would wait for a writer.
        if (other == fileName || !QFileInfo(path).isFile() || isDemoElementFile(path))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const orbit::ElementSet &set : readSets(file.readAll()).sets)
            if (set.catalogNumber == catalogNumber)
                return true;
    }
    return false;
}

KepsInstallResult KepsInstaller::installDownload(const QByteArray &body, const QString &fileName,
                                                 int index) const
{
    const QString tempFile = rawDownloadFile();
    bool written = false;
    QString why;
    {
        // Unbuffered, so that a full disk is noticed with its reason.
        QFile raw(tempFile);
        if (raw.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            written = orvex::writeAll(raw, body) && orvex::writeAll(raw, QByteArrayLiteral("\r\n"));
        if (!written)
            why = raw.errorString();
    }
    if (!written) {
        KepsInstallResult result;
        result.error = QStringLiteral("Cannot write ") + QDir::toNativeSeparators(tempFile) +
                       QStringLiteral(": ") + why;
        return result;
    }
    return install(tempFile, fileName, index, body.size());
}
