// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// A private-profile (INI) store that reads and writes the same text files as
// the Windows profile functions, with their semantics:
//
//   ; a comment, kept as it stands
//   [SETUP]
//   CALLSIGN=Q9ZZZ-5
//   COMMENT=""
//
// - section and key names match without regard to case (Latin-1 letters);
// - a missing key, section or file yields the caller's default;
// - a value in double or single quotes comes back without them, an unquoted
//   value without its leading and trailing blanks;
// - writing an existing key replaces its value in place, a new key goes after
//   the last key of its section, a new section at the end of the file, and a
//   missing file is created;
// - listing a section gives its key names in file order.
//
// Files are read with CR LF, LF or CR line ends and written with CR LF. Lines the store does not
// understand (comments, text before the first section, lines without "=") are kept as they are.
// Every write replaces the whole file atomically: a failed write leaves the old file untouched.
namespace orvex {

// One parsed profile file. Parsing is a pure function over bytes.
class ProfileDocument
{
public:
    static ProfileDocument parse(const QByteArray &bytes);
    // The file text, every line ended by CR LF.
    QByteArray toBytes() const;

    // The stored value of a key (blanks trimmed, quotes still on); nullopt
    // when the key or its section is missing. The first match counts.
    std::optional<QByteArray> rawValue(const QByteArray &section, const QByteArray &key) const;
    // Key names of the first section of that name, in file order.
    QList<QByteArray> keyNames(const QByteArray &section) const;
    QList<QByteArray> sectionNames() const;

    void setValue(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    // Remove every line of the key in every section of that name.
    void removeKey(const QByteArray &section, const QByteArray &key);
    // Remove every section of that name with all its lines.
    void removeSection(const QByteArray &section);

private:
    enum class Kind { Other, Section, Key };
    struct Line
    {
        QByteArray text; // the line as read or written, without its line end
        Kind kind = Kind::Other;
        QByteArray name;          // section or key name, blanks trimmed
        qsizetype valueStart = 0; // Key: offset of the value in text
    };
    static Line makeLine(const QByteArray &text);
    // Index of the header line of the first matching section, or -1.
    qsizetype findSection(const QByteArray &section) const;
    // One past the last line of the section whose header is at `header`.
    qsizetype sectionEnd(qsizetype header) const;

    QList<Line> lines_;
};

// The two profile calls with the argument conventions of
// GetPrivateProfileStringA and WritePrivateProfileStringA (nullopt = NULL).
class ProfileStore
{
public:
    // Fills `buffer` (resized to `bufferSize` bytes) and returns the count of
    // characters placed, as the Windows call does:
    // - section and key given: the value (or the default, trailing blanks
    //   removed), cut to bufferSize - 1 characters;
    // - key nullopt: the section's key names, each ended by NUL, then one more
    //   NUL; when they do not fit, the last name is cut, two NULs end the
    //   buffer and the count is bufferSize - 2;
    // - section nullopt: the section names in the same form.
    static int getString(const std::optional<QByteArray> &section,
                         const std::optional<QByteArray> &key, const QByteArray &defaultValue,
                         QByteArray &buffer, int bufferSize, const QString &file);

    // key and value given: store the value; value nullopt: delete the key;
    // key nullopt: delete the section. Key and value end at a NUL, and CR or
    // LF in them become blanks so a value can never break into new lines.
    // Returns false when the file could not be written (it is then unchanged).
    static bool writeString(const QByteArray &section, const std::optional<QByteArray> &key,
                            const std::optional<QByteArray> &value, const QString &file);

    // One change of writeString's kind.
    struct Change
    {
        QByteArray section;
        std::optional<QByteArray> key;
        std::optional<QByteArray> value;
    };
    // Makes all the changes, in order, in one replacement of the file, so
    // that a kill or a full disk leaves either none of them or all.
    static bool writeStrings(const QList<Change> &changes, const QString &file);

    // Removes what a replacement of `file` cut short by a kill leaves behind:
    // the temporary files beside it named "<file name>." and six letters or
    // digits. Only for the one program that owns the file, at its start.
    static void removeLeftoverTemporaries(const QString &file);

    // Told of every write that fails, with the file and the reason, so that
    // the program can let the user know (the settings calls above it report
    // nothing). One for the whole process; an empty function removes it.
    using WriteFailureHook = std::function<void(const QString &file, const QString &reason)>;
    static void setWriteFailureHook(WriteFailureHook hook);
};

} // namespace orvex
