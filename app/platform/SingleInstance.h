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
    // False only when another running instance holds the lock. A lock file
    // that cannot be made at all (a full disk, a folder without write
    // rights) proves no other instance, so the program may run.
    bool acquire();

private:
    std::unique_ptr<QLockFile> lock_;
};
