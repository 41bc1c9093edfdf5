#pragma once
// A stored command line ("Dialdart Run") read as a program and its
// arguments, without a command interpreter.

#include <QString>
#include <QStringList>

class DosPathMapper;

struct ProgramCall {
    QString program; // empty when nothing is configured
    QStringList arguments;
};

namespace ProgramCommandLine {

// Surrounding white space is ignored. A value that as a whole names an
// existing file or folder is that program alone, spaces and all (a path
// chosen in a file dialog, "C:\Program Files\Mail\mail"). Otherwise words are
// separated by white space, and double quotes group the characters between
// them into one word (they are removed; "" is an empty word; an unclosed
// quote runs to the end); the first word is the program. The program is a
// stored path and may be a DOS path; the arguments are passed as written.
ProgramCall parse(const QString& value, const DosPathMapper& paths);

// The words of text as described above.
QStringList words(const QString& text);

} // namespace ProgramCommandLine
