#pragma once
// pppd's option syntax, as in the files of /etc/ppp/peers and on its command
// line: words, "quoted strings" with backslash escapes, # comments.

#include <QString>
#include <QStringList>

namespace PppOptionsFile {

QStringList words(const QString& text);
// The words of a file; empty when it cannot be read.
QStringList wordsOfFile(const QString& path);
// The value after the last occurrence of option (later options win, as in
// pppd); empty when absent.
QString valueOf(const QStringList& words, const QString& option);
// A word written so that pppd reads it back unchanged.
QString quoted(const QString& word);

} // namespace PppOptionsFile
