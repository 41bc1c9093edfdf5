#pragma once
// One log file of a compile run, loaded: read (purged first when asked), cut
// into rows, and the rows' numbers and keys read for the usage tables. Holds
// only what it was given, so one loader serves every worker thread at once.

#include "DateTimeReader.h"
#include "FormatSettings.h"
#include "LogFile.h"
#include "LogFileJobs.h"
#include "NumberReader.h"

#include <QByteArray>
#include <QDate>
#include <QString>

class LogFileLoader {
public:
    struct Options {
        bool purge = false;
        QDate cutOff;            // lines dated before it go when purging
        QByteArray abnormalExit; // the abnormal-exit text, UTF-8
        LogFile::LockWait wait;  // for a file another program holds locked
    };

    LogFileLoader(const FormatSettings& fmt, int pivotYear, Options options);

    // A result that is not ok when the file cannot be read or purged.
    LogFileResult load(const QString& nativePath) const;

private:
    NumberReader m_numbers;
    DateTimeReader m_dates;
    Options m_options;
};
