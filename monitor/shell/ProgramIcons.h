#pragma once
// The monitor's icons as a desktop entry names them: the icon theme's name
// when the icons are installed where the desktop looks for themes, else the
// path of the picture (a build tree, an unusual prefix).

#include <QString>

namespace ProgramIcons {

// 0: the monitor ("tollwatch"), 1: Dialdart ("tollwatch-dialdart").
QString name(int index);
// What an entry's Icon key should say for the icon of index, for a program
// in programFolder.
QString iconFor(int index, const QString& programFolder);
// The picture of the icon below a share folder.
QString pictureBelow(const QString& shareFolder, int index);

} // namespace ProgramIcons
