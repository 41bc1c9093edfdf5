#include "RegistryPath.h"

namespace RegistryPath {

QString normalise(const QString& path) {
    return split(path).join(QLatin1Char('\\'));
}

QString fold(const QString& name) {
    return name.toCaseFolded();
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
