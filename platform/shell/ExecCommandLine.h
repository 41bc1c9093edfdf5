#pragma once
// The Exec value of a freedesktop desktop entry as a program and its
// arguments: quoting and backslash escapes resolved, field codes expanded
// or dropped (nothing is passed for %f, %u and their lists).

#include <QString>
#include <QStringList>

namespace ExecCommandLine {

// What %c, %i and %k stand for.
struct Fields {
    QString name;
    QString icon;
    QString entryFile;
};

// exec with its string escapes (\s, \\, ...) already resolved. The first
// item is the program; empty when exec holds nothing.
QStringList split(const QString& exec, const Fields& fields = {});

} // namespace ExecCommandLine
