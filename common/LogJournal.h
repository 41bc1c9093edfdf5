#pragma once
// The journal that makes an in-place rewrite of a log crash-safe: the new
// content is written and synced to ".NAME.rewrite" beside the log before the
// log itself is touched, and removed once the log holds it. Whoever locks
// the log exclusively and finds a journal completes the rewrite from it (a
// whole journal) or drops it (a cut one: the log was never touched), so the
// log always ends up with its old or its new content, whole.

#include "LogFile.h"

#include <QByteArray>

#include <sys/stat.h>

namespace LogJournal {

// The path of the file open at fd, found through the descriptor so that links
// and moved folders cannot point its journal elsewhere; fallback resolved
// when the system cannot tell.
QByteArray realPathOf(int fd, const QByteArray& fallback);

// ".NAME.rewrite" in the folder of the log at realPath.
QByteArray pathFor(const QByteArray& realPath);
bool exists(const QByteArray& realPath);

// Completes or drops the journal of the log at realPath, whose status is log;
// the caller holds the log's exclusive lock. A journal whose owner could not
// have written the log is left alone and not applied. Throws LogFileError
// when the log cannot be completed.
void settle(const QByteArray& realPath, const struct stat& log);

// settle for the log open at fd, when it has a journal.
void settleOpen(int fd, const QByteArray& path);

// Journal, the log open for writing at fd rewritten in place, journal
// removed; onStep (if set) hears each step. Throws LogFileError; a failure before the log is
// touched leaves it as it was, a later one leaves the journal for the next settle.
void replace(int fd, const QByteArray& realPath, const struct stat& log, const QByteArray& content,
             const std::function<void(LogFile::RewriteStep)>& onStep);

} // namespace LogJournal
