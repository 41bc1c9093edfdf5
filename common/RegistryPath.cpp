#include "RegistryPath.h"

namespace RegistryPath {

QString normalise(const QString& path) {
    // Most paths are normal already, and these run at every store access.
    const QLatin1Char backslash('\\');
    if (!path.startsWith(backslash) && !path.endsWith(backslash) &&
        !path.contains(QLatin1String("\\\\")))
        return path;
    return split(path).join(backslash);
}

QString fold(const QString& name) {
    bool ascii = true;
    bool lower = true;
    for (const QChar c : name) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            lower = false;
    }
    if (!ascii)
        return name.toCaseFolded();
    // ASCII folds to its lower case; a name already folded is shared, not copied.
    return lower ? name : name.toLower();
}

QString join(const QString& a, const QString& b) {
    return normalise(a + QLatin1Char('\\') + b);
}

QStringList split(const QString& path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QString parent(const QString& path) {
    const QString p = normalise(path);
    const int at = p.lastIndexOf(QLatin1Char('\\'));
    return at < 0 ? QString() : p.left(at);
}

QString leaf(const QString& path) {
    const QString p = normalise(path);
    return p.mid(p.lastIndexOf(QLatin1Char('\\')) + 1);
}

} // namespace RegistryPath
