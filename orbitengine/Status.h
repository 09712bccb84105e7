// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <utility>

namespace orbit {

// Why an engine request failed. The numbers 1 to 6 are the customary SGP4
// error codes, so that they can be compared with other implementations.
enum class StatusCode {
    Ok = 0,
    MeanElements = 1, // mean eccentricity out of [0, 1) or semi-major axis below 0.95 Earth radii
    MeanMotion = 2,   // mean motion not positive
    PerturbedEccentricity = 3, // eccentricity after the periodic terms out of [0, 1]
    SemiLatusRectum = 4,       // semi-latus rectum negative
    Decayed = 6,               // radius below one Earth radius: the satellite has come down
    NotFound = 10,             // no element set of that name
    BadElements = 11,          // the element set cannot be read
    NotConverged = 12,         // an iteration ran out of its step cap
    BadArgument = 13,          // a time, angle or count outside what the request accepts
};

// Result of an engine request: Ok, or a code with a readable reason.
class Status
{
public:
    Status() = default;
    Status(StatusCode code, std::string reason) : code_(code), reason_(std::move(reason)) {}

    static Status ok() { return {}; }

    bool isOk() const { return code_ == StatusCode::Ok; }
    explicit operator bool() const { return isOk(); }
    StatusCode code() const { return code_; }
    int number() const { return static_cast<int>(code_); }
    const std::string &reason() const { return reason_; }

private:
    StatusCode code_ = StatusCode::Ok;
    std::string reason_;
};

} // namespace orbit
