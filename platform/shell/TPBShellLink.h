#pragma once
// The shortcut writer: a freedesktop desktop entry (".desktop") that starts a
// program, written where a Windows shell link would be. The properties are
// the shell link's; Save writes the file.

#include <QString>
#include <QStringList>

#include <stdexcept>

// A shortcut that could not be written; the text names the file and the
// reason.
class EPBShellLink : public std::runtime_error {
public:
    explicit EPBShellLink(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

struct TShellLinkIcon {
    // An icon name of the desktop's icon theme ("tollwatch"), or the path
    // of a picture.
    QString FileName;
    // Desktop entries name one icon: the caller passes the icon that the
    // index stands for in FileName, so the index itself is not written.
    int IconIndex = 0;
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TPBShellLink {
public:
    // A folder put in front of FileName when FileName is set.
    QString ShellFolder;
    QString Target;
    QStringList Arguments;
    // Written as Path: the folder the program starts in.
    QString WorkingDir;
    // Written as Comment.
    QString Description;
    TShellLinkIcon FileIcon;
    // A desktop entry has no key for a hot key or for the state of the
    // window it opens; both are kept for the callers and not written.
    int HotKey = 0;
    TWindowState WindowState = TWindowState::wsNormal;
    // The entry's Name; the file name without ".desktop" when empty.
    QString Name;
    // Menu categories ("Network;Monitor"), for entries of the application menu.
    QStringList Categories;
    // A launcher on the desktop: made executable and marked trusted for
    // desktops that ask for that before they start it.
    bool Launcher = false;

    // Adds ".desktop" when the name does not end in it (any case); with
    // ShellFolder set, the folder is put in front.
    void setFileName(const QString& name);
    QString FileName() const { return m_fileName; }

    // Writes the entry, over an existing file. Throws EPBShellLink.
    void Save() const;
    // The text Save writes.
    QString contents() const;

private:
    QString entryName() const;
    void markLauncher() const;

    QString m_fileName;
};
