// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprscodec/MessageBuilder.h"

#include <array>

namespace aprs {
namespace {

constexpr std::size_t addresseeWidth = 9;
constexpr std::size_t maxNumber = 5;

bool isAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string checkAddressee(std::string_view addressee)
{
    if (addressee.empty())
        return "addressee is empty";
    if (addressee.size() > addresseeWidth)
        return "addressee is " + std::to_string(addressee.size()) + " characters; at most 9 fit";
    for (char c : addressee)
        if (c <= ' ' || c > '~' || c == ':' || c == '|')
            return "addressee may hold printable characters only, no blank, \":\" or \"|\"";
    return {};
}

std::string checkNumber(std::string_view number)
{
    if (number.empty() || number.size() > maxNumber)
        return "message number must be 1-5 letters or digits";
    for (char c : number)
        if (!isAlnum(c))
            return "message number must be 1-5 letters or digits";
    return {};
}

std::string checkText(std::string_view text)
{
    if (text.empty())
        return "message text is empty";
    if (text.size() > maxMessageText)
        return "message text is " + std::to_string(text.size()) + " characters; at most 67 fit";
    for (char c : text)
        if (c < ' ' || c > '}' || c == '|' || c == '{')
            return "message text may hold printable ASCII only, no \"|\", \"~\" or \"{\"";
    // Receivers take these openings for other packets than a message.
    static constexpr std::array<std::string_view, 6> misread = {"ack",   "rej",   "PARM.",
                                                                "UNIT.", "EQNS.", "BITS."};
    for (std::string_view prefix : misread)
        if (text.starts_with(prefix))
            return "message text may not start with \"" + std::string(prefix) +
                   "\": it would read as an ack, reject or telemetry";
    if (text.front() == '?')
        return "message text may not start with \"?\": it would read as a query";
    return {};
}

std::string header(std::string_view addressee)
{
    std::string info = ":";
    info += addressee;
    info.append(addresseeWidth - addressee.size(), ' ');
    info += ':';
    return info;
}

BuildResult answer(std::string_view addressee, std::string_view number, std::string_view word)
{
    std::string error = checkAddressee(addressee);
    if (error.empty())
        error = checkNumber(number);
    if (!error.empty())
        return {std::nullopt, error};
    return {header(addressee) + std::string(word) + std::string(number), {}};
}

} // namespace

BuildResult buildMessage(std::string_view addressee, std::string_view text, std::string_view number)
{
    std::string error = checkAddressee(addressee);
    if (error.empty())
        error = checkText(text);
    if (error.empty() && !number.empty())
        error = checkNumber(number);
    if (!error.empty())
        return {std::nullopt, error};
    std::string info = header(addressee) + std::string(text);
    if (!number.empty())
        info += '{' + std::string(number);
    return {std::move(info), {}};
}

BuildResult buildAck(std::string_view addressee, std::string_view number)
{
    return answer(addressee, number, "ack");
}

BuildResult buildReject(std::string_view addressee, std::string_view number)
{
    return answer(addressee, number, "rej");
}

} // namespace aprs
