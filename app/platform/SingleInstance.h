// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// The single-instance rule: one running program per program folder. The lock
// is a file holding the owner's process id; a lock left by a run that
// crashed is recognised as stale and taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programFolder);
    // True when no other instance holds the lock (and this one now does).
    bool acquire();

private:
    std::unique_ptr<QLockFile> lock_;
};
