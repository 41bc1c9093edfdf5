#pragma once
// The path of a file of the source tree, for tests that read shipped files.

#include "TestEnvironment.h"

#include <QString>

inline QString sourceFile(const QString& relative) {
    QString root = TestEnvironment::sourceDir();
    if (root.isEmpty())
        root = QStringLiteral(PLATFORM_TESTS_SOURCE_DIR);
    return root + QLatin1Char('/') + relative;
}
