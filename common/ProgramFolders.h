#pragma once
// Where the files shipped with the programs lie: beside the program in a
// build tree ("bin/help", "bin/ding.wav"), under share/tollwatch of the
// prefix in an installation ("/usr/bin/../share/tollwatch/help").

#include <QString>

namespace ProgramFolders {

// The folder of the running program.
QString programFolder();
// "<programFolder>/<name>" when that exists, else the installed
// "<programFolder>/../share/tollwatch/<name>" (returned even when missing).
QString dataFolder(const QString& name, const QString& programFolder = programFolder());
// The folder of the chime sounds: the program's own folder when "ding.wav"
// lies there, else the installed sounds folder.
QString soundFolder(const QString& programFolder = programFolder());
// The installed prefix's share folder ("<programFolder>/../share").
QString shareFolder(const QString& programFolder = programFolder());

} // namespace ProgramFolders
