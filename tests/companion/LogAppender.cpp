// Test helper: waits for a line on standard input, then appends COUNT log
// lines "appended;2001-03-20;10:00:00;1;0,10;0,00;0,00;line N" to FILE.

#include "LogFile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    char go[16];
    if (!std::fgets(go, sizeof go, stdin))
        return 2;
    for (int i = 0; i < count; ++i) {
        const QString line =
            QStringLiteral("appended;2001-03-20;10:00:00;1;0,10;0,00;0,00;line %1");
        if (LogFile::appendLine(path, line.arg(i)) != 0)
            return 1;
    }
    return 0;
}
