#pragma once
// Helpers for registry key paths: trimming, joining, case folding.

#include <QString>
#include <QStringList>

namespace RegistryPath {

// Strips leading and trailing backslashes and collapses doubled ones.
QString normalise(const QString& path);
// The form used to compare names: case folded.
QString fold(const QString& name);
// Joins two path parts with one backslash.
QString join(const QString& a, const QString& b);
// The components of a normalised path ("" gives an empty list).
QStringList split(const QString& path);
// Everything before the last backslash ("" when none).
QString parent(const QString& path);
// The part after the last backslash.
QString leaf(const QString& path);

} // namespace RegistryPath
