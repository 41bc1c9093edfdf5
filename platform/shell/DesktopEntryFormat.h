#pragma once
// The escaping rules of freedesktop desktop entries: values of type string,
// and the arguments of the Exec key with their own quoting on top.

#include <QString>
#include <QStringList>

namespace DesktopEntryFormat {

// A value of type string: backslash, newline, tab and carriage return
// escaped, a leading space as \s.
QString escapeValue(const QString& text);
// One argument of Exec before the string escape: quoted when it holds a
// reserved character, with ", `, $ and \ escaped inside the quotes; a literal
// percent sign doubled.
QString quoteArgument(const QString& argument);
// The Exec value of program with its arguments, ready to write.
QString execLine(const QString& program, const QStringList& arguments);
// Splits an Exec value back into its arguments (the reverse of execLine;
// field codes are kept as they are). Used to read entries back.
QStringList splitExec(const QString& value);
// The reverse of escapeValue.
QString unescapeValue(const QString& value);

} // namespace DesktopEntryFormat
