// SPDX-License-Identifier: GPL-2.0-or-later
#include "DecodeAprsRun.h"

#include "aprscodec/Frame.h"

#include <QProcess>

#include <sstream>

namespace aprstest {
namespace {

using aprs::PacketType;

struct Kind
{
    std::string_view prefix;
    PacketType type;
    bool killed;
};

constexpr Kind kinds[] = {
    {"Position", PacketType::Position, false},
    {"Weather Report with Object", PacketType::Object, false},
    {"Weather Report", PacketType::Position, false},
    {"MIC-E", PacketType::Position, false},
    {"Killed Object", PacketType::Object, true},
    {"Object - invalid", PacketType::Other, false},
    {"Object", PacketType::Object, false},
    {"Killed Item", PacketType::Item, true},
    {"Item", PacketType::Item, false},
    {"Status Report", PacketType::Status, false},
    {"APRS Message", PacketType::Message, false},
    {"ACK message", PacketType::Ack, false},
    {"REJ message", PacketType::Reject, false},
    {"Telemetry", PacketType::Telemetry, false},
};

// "N 49 03.5000" -> 49.058333
std::optional<double> coordinate(const std::string &token)
{
    std::istringstream in(token);
    char hemisphere = 0;
    double degrees = 0, minutes = 0;
    if (!(in >> hemisphere >> degrees >> minutes))
        return std::nullopt;
    const double value = degrees + minutes / 60.0;
    return hemisphere == 'S' || hemisphere == 'W' ? -value : value;
}

void readLocation(std::string line, Reading &r)
{
    if (line.starts_with("Grid square = "))
        line = line.substr(line.find(", ") + 2);
    std::vector<std::string> tokens;
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t comma = line.find(", ", at);
        tokens.push_back(line.substr(at, comma - at));
        if (comma == std::string::npos)
            break;
        at = comma + 2;
    }
    for (const std::string &t : tokens) {
        if (t.starts_with("N ") || t.starts_with("S ")) {
            r.latitudeShown = true;
            r.latitude = coordinate(t).value_or(1e9);
        } else if (t.starts_with("E ") || t.starts_with("W ")) {
            r.longitudeShown = true;
            r.longitude = coordinate(t).value_or(1e9);
        } else if (t.ends_with(" MPH")) {
            r.mph = std::stod(t);
        } else if (t.starts_with("course ")) {
            r.course = std::stod(t.substr(7));
        } else if (t.starts_with("alt ") && t.ends_with(" ft")) {
            r.feet = std::stod(t.substr(4));
        }
    }
}

constexpr char escape = '\x1b';
const std::string readingColour = "38;2;0;0;255"; // decode_aprs's colour of decoded fields

// decode_aprs's output as lines, each with the colour it is printed in.
std::vector<DecodeAprsLine> colouredLines(const std::string &out)
{
    std::vector<DecodeAprsLine> lines(1);
    std::string colour;
    bool atLineStart = true;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == escape && i + 1 < out.size() && out[i + 1] == '[') {
            const std::size_t end = out.find_first_of("mJ", i + 2);
            if (end == std::string::npos)
                break;
            const std::string code = out.substr(i + 2, end - i - 2);
            if (code.starts_with("38;2;")) {
                colour = code;
                if (atLineStart)
                    lines.back().opensWithColour = true;
            }
            i = end;
            continue;
        }
        if (out[i] == '\n') {
            lines.emplace_back();
            atLineStart = true;
            continue;
        }
        if (atLineStart)
            lines.back().reading = colour == readingColour;
        atLineStart = false;
        lines.back().text += out[i];
    }
    return lines;
}

} // namespace

std::vector<DecodeAprsRecord> runDecodeAprs(const std::vector<std::string> &inputLines,
                                            std::string &error)
{
    std::string input;
    for (const std::string &line : inputLines)
        input += line + '\n';

    QProcess process;
    process.start(QStringLiteral("decode_aprs"), QStringList());
    if (!process.waitForStarted(60000)) {
        error = "decode_aprs does not start (Debian package direwolf)";
        return {};
    }
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit) {
        error = "decode_aprs did not finish";
        return {};
    }
    const QByteArray out = process.readAllStandardOutput();
    const std::vector<DecodeAprsLine> lines = colouredLines(out.toStdString());

    // Each input line is echoed as a line of its own; what follows up to the
    // next echo is its record.
    std::vector<DecodeAprsRecord> records;
    std::size_t next = 0;
    for (const DecodeAprsLine &line : lines) {
        if (next < inputLines.size() && line.text == inputLines[next]) {
            records.emplace_back();
            ++next;
        } else if (!records.empty() && !line.text.empty()) {
            records.back().push_back(line);
        }
    }
    if (records.size() != inputLines.size()) {
        error = "decode_aprs echoed " + std::to_string(records.size()) + " of " +
                std::to_string(inputLines.size()) + " lines";
        return {};
    }
    return records;
}

std::string unescape(const std::string &text)
{
    const auto frame = aprs::parseMonitorLine("A>B:" + text, aprs::InfoBytes::HexEscapes);
    return frame.frame ? frame.frame->info : text;
}

std::string between(const std::string &s, std::string_view from, std::string_view to)
{
    const std::size_t a = s.find(from);
    if (a == std::string::npos)
        return {};
    const std::size_t b = s.find(to, a + from.size());
    return s.substr(a + from.size(),
                    b == std::string::npos ? std::string::npos : b - a - from.size());
}

Reading readingOf(const DecodeAprsRecord &record, bool weather)
{
    Reading r;
    std::vector<const DecodeAprsLine *> lines;
    for (const DecodeAprsLine &line : record)
        if (line.reading)
            lines.push_back(&line);
    if (lines.empty())
        return r;

    const std::string &first = lines[0]->text;
    std::size_t kindEnd = std::min(first.find(", "), first.size());
    const std::string kindText = first.substr(0, kindEnd);
    for (const Kind &kind : kinds)
        if (kindText == kind.prefix || kindText.starts_with(std::string(kind.prefix) + ' ')) {
            r.type = kind.type;
            r.killed = kind.killed;
            break;
        }
    if (kindText.find(" for \"") != std::string::npos) {
        r.addressee = between(kindText, " for \"", "\"");
        if (r.type == PacketType::Message || r.type == PacketType::Ack ||
            r.type == PacketType::Reject)
            r.number = between(kindText, "essage ", " for \"");
    }
    if (first.compare(kindEnd, 3, ", \"") == 0) {
        const std::size_t close = first.find('"', kindEnd + 3);
        r.name = first.substr(kindEnd + 3, close - kindEnd - 3);
        kindEnd = std::min(close + 1, first.size());
    }
    r.afterKind = first.substr(kindEnd);

    std::size_t next = 1;
    if (next < lines.size() &&
        (lines[next]->opensWithColour || lines[next]->text.starts_with("Grid square = ")))
        readLocation(lines[next++]->text, r);
    if (weather && next < lines.size())
        ++next; // the weather line
    for (; next < lines.size(); ++next)
        if (lines[next]->text.find("Seq=") == std::string::npos)
            r.comment = unescape(lines[next]->text);
    return r;
}

std::string probeLine(const aprs::Symbol &symbol)
{
    return std::string("N0CALL>APRS:!4903.50N") + symbol.table + "07201.75W" + symbol.code;
}

} // namespace aprstest
