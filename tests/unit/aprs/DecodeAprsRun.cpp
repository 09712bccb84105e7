// SPDX-License-Identifier: GPL-2.0-or-later
#include "DecodeAprsRun.h"

#include "aprscodec/Frame.h"

#include <QProcess>

namespace aprstest {
namespace {

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

} // namespace aprstest
