// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ProfileStore.h"

#include "platform/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace orvex {
namespace {

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return QString::fromLatin1(a).compare(QString::fromLatin1(b), Qt::CaseInsensitive) == 0;
}

// A value handed to the store is a C string on Windows: it ends at a NUL.
// A line break inside it would turn the rest into lines of their own, so CR
// and LF become blanks.
QByteArray oneLine(QByteArray text)
{
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    text.replace('\r', ' ');
    text.replace('\n', ' ');
    return text;
}

QByteArray unquoted(const QByteArray &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Copies `text` into a buffer of `size` characters, NUL-terminated, and
// returns the count placed.
int fillBuffer(QByteArray &buffer, int size, const QByteArray &text)
{
    buffer = QByteArray(std::max(size, 0), '\0');
    if (size <= 0)
        return 0;
    const int count = static_cast<int>(std::min<qsizetype>(text.size(), size - 1));
    std::copy_n(text.constData(), count, buffer.data());
    return count;
}

// Names one after another, each ended by NUL, then one more NUL. When they do
// not fit, the last name is cut and two NULs end the buffer.
int fillNameList(QByteArray &buffer, int size, const QList<QByteArray> &names)
{
    buffer = QByteArray(std::max(size, 0), '\0');
    if (size <= 0)
        return 0;
    QByteArray list;
    for (const QByteArray &name : names) {
        list += name;
        list += '\0';
    }
    if (list.size() + 1 <= size) {
        std::copy_n(list.constData(), list.size(), buffer.data());
        return static_cast<int>(list.size());
    }
    if (size < 2)
        return 0;
    std::copy_n(list.constData(), size - 2, buffer.data());
    return size - 2;
}

struct FileText
{
    bool exists = false;
    bool readable = true;
    QByteArray bytes;
    QString error; // why it could not be read
};

FileText readFile(const QString &path)
{
    FileText result;
    QFile file(path);
    result.exists = file.exists();
    if (!result.exists)
        return result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.readable = false;
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.readable = false;
        result.error = file.errorString();
    }
    return result;
}

ProfileStore::WriteFailureHook &writeFailureHook()
{
    static ProfileStore::WriteFailureHook hook;
    return hook;
}

bool writeFailed(const QString &file, const QString &reason)
{
    if (const auto &hook = writeFailureHook())
        hook(file, reason);
    return false;
}

} // namespace

ProfileDocument::Line ProfileDocument::makeLine(const QByteArray &text)
{
    Line line;
    line.text = text;
    const QByteArray trimmed = text.trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = trimmed.mid(1, close - 1).trimmed();
            return line;
        }
    }
    if (trimmed.startsWith(';'))
        return line;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return line;
    const QByteArray name = text.left(equals).trimmed();
    if (name.isEmpty())
        return line;
    line.kind = Kind::Key;
    line.name = name;
    line.valueStart = equals + 1;
    return line;
}

ProfileDocument ProfileDocument::parse(const QByteArray &bytes)
{
    ProfileDocument doc;
    bool inSection = false;
    // A line ends at CR LF, LF or a lone CR: files written by other editors
    // (or older systems) with CR alone are read line by line too.
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArray text = bytes.mid(start, end - start);
        qsizetype next = end + 1;
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++next;
        Line line = makeLine(text);
        if (line.kind == Kind::Section)
            inSection = true;
        else if (line.kind == Kind::Key && !inSection)
            line = Line{text, Kind::Other, {}, 0}; // keys before any section belong nowhere
        doc.lines_.append(line);
        start = next;
    }
    return doc;
}

QByteArray ProfileDocument::toBytes() const
{
    QByteArray out;
    for (const Line &line : lines_) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

qsizetype ProfileDocument::findSection(const QByteArray &section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, section))
            return i;
    return -1;
}

qsizetype ProfileDocument::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

std::optional<QByteArray> ProfileDocument::rawValue(const QByteArray &section,
                                                    const QByteArray &key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line &line = lines_[i];
        if (line.kind == Kind::Key && sameName(line.name, key))
            return line.text.mid(line.valueStart).trimmed();
    }
    return std::nullopt;
}

QList<QByteArray> ProfileDocument::keyNames(const QByteArray &section) const
{
    QList<QByteArray> names;
    const qsizetype header = findSection(section);
    if (header < 0)
        return names;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key)
            names.append(lines_[i].name);
    return names;
}

QList<QByteArray> ProfileDocument::sectionNames() const
{
    QList<QByteArray> names;
    for (const Line &line : lines_)
        if (line.kind == Kind::Section)
            names.append(line.name);
    return names;
}

void ProfileDocument::setValue(const QByteArray &section, const QByteArray &key,
                               const QByteArray &value)
{
    qsizetype header = findSection(section);
    if (header < 0) {
        lines_.append(makeLine('[' + section + ']'));
        header = lines_.size() - 1;
    }
    const qsizetype end = sectionEnd(header);
    qsizetype insertAt = header + 1;
    for (qsizetype i = header + 1; i < end; ++i) {
        Line &line = lines_[i];
        if (line.kind != Kind::Key)
            continue;
        if (sameName(line.name, key)) {
            line = makeLine(line.name + '=' + value);
            return;
        }
        insertAt = i + 1;
    }
    lines_.insert(insertAt, makeLine(key + '=' + value));
}

void ProfileDocument::removeKey(const QByteArray &section, const QByteArray &key)
{
    bool inMatch = false;
    for (qsizetype i = 0; i < lines_.size();) {
        const Line &line = lines_[i];
        if (line.kind == Kind::Section)
            inMatch = sameName(line.name, section);
        if (inMatch && line.kind == Kind::Key && sameName(line.name, key))
            lines_.removeAt(i);
        else
            ++i;
    }
}

void ProfileDocument::removeSection(const QByteArray &section)
{
    for (qsizetype header = findSection(section); header >= 0; header = findSection(section))
        lines_.remove(header, sectionEnd(header) - header);
}

int ProfileStore::getString(const std::optional<QByteArray> &section,
                            const std::optional<QByteArray> &key, const QByteArray &defaultValue,
                            QByteArray &buffer, int bufferSize, const QString &file)
{
    const FileText text = readFile(file);
    const ProfileDocument doc = ProfileDocument::parse(text.readable ? text.bytes : QByteArray());
    if (!section)
        return fillNameList(buffer, bufferSize, doc.sectionNames());
    if (!key)
        return fillNameList(buffer, bufferSize, doc.keyNames(*section));
    if (const auto value = doc.rawValue(*section, *key))
        return fillBuffer(buffer, bufferSize, unquoted(*value));
    QByteArray fallback = defaultValue;
    while (fallback.endsWith(' '))
        fallback.chop(1);
    return fillBuffer(buffer, bufferSize, fallback);
}

bool ProfileStore::writeString(const QByteArray &section, const std::optional<QByteArray> &key,
                               const std::optional<QByteArray> &value, const QString &file)
{
    return writeStrings({Change{section, key, value}}, file);
}

bool ProfileStore::writeStrings(const QList<Change> &changes, const QString &file)
{
    const FileText text = readFile(file);
    if (!text.readable) // never replace a file we could not read
        return writeFailed(file, text.error);
    ProfileDocument doc = ProfileDocument::parse(text.bytes);
    const QByteArray before = doc.toBytes();
    bool stores = false;
    for (const Change &change : changes) {
        const QByteArray sectionName = oneLine(change.section);
        if (!change.key)
            doc.removeSection(sectionName);
        else if (!change.value)
            doc.removeKey(sectionName, oneLine(*change.key));
        else
            doc.setValue(sectionName, oneLine(*change.key), oneLine(*change.value));
        stores = stores || (change.key && change.value);
    }
    const QByteArray after = doc.toBytes();
    if (after == before && (text.exists || !stores))
        return true;

    QString why;
    if (!writeWholeFile(file, after, &why))
        return writeFailed(file, why);
    return true;
}

void ProfileStore::removeLeftoverTemporaries(const QString &file)
{
    const QFileInfo info(file);
    const QDir folder = info.absoluteDir();
    // The names QSaveFile gives its temporary files.
    const QRegularExpression temporary(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (temporary.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

void ProfileStore::setWriteFailureHook(WriteFailureHook hook)
{
    writeFailureHook() = std::move(hook);
}

} // namespace orvex
