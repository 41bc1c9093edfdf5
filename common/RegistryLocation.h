#pragma once
// Chooses the settings store file: --registry FILE (or --registry=FILE), else
// $TOLLWATCH_REGISTRY, else $XDG_CONFIG_HOME/varnholt/registry.sqlite.

#include <QString>
#include <QStringList>

namespace RegistryLocation {

// The file to use; creates the default folder when it is chosen, readable by
// the user alone.
QString resolve(const QStringList& arguments);
// The arguments without the --registry option and its file.
QStringList withoutRegistryOption(const QStringList& arguments);

} // namespace RegistryLocation
