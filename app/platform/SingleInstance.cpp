// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SingleInstance.h"

#include <QDir>

SingleInstance::SingleInstance(const QString &programFolder)
    : lock_(std::make_unique<QLockFile>(
          QDir(programFolder).filePath(QStringLiteral("orvexdecode.lock"))))
{
    // Staleness is judged by the owner process alone, never by the age of
    // the file: a program that runs for days keeps its lock.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    if (lock_->isLocked())
        return true;
    return lock_->tryLock(0) || lock_->error() != QLockFile::LockFailedError;
}
