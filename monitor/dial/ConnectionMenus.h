#pragma once
// PopulateConnections: the Connect and Connect using submenus, one item per
// phone-book entry in the phone book's order, built once at start-up. A
// phone book that cannot be read, or has more entries than the menus take,
// leaves them empty and says so in a message box.

#include "MonitorParts.h"

#include <QString>

#include <functional>

class CommandTable;

class ConnectionMenus {
public:
    // More entries than this cannot be listed.
    static constexpr int kMaxEntries = 100;
    // The two submenus, by design name.
    static inline const QString kConnectMenu = QStringLiteral("Connect2");
    static inline const QString kConnectUsingMenu = QStringLiteral("Connectusing1");

    using EntryHandler = std::function<void(const QString& entryName)>;

    // runOnly dials the entry of a clicked item (RunOnlyClick). parts and
    // commands outlive this object.
    ConnectionMenus(const MonitorParts& parts, CommandTable& commands, EntryHandler runOnly);

    void PopulateConnections();

private:
    MonitorParts m_parts;
    CommandTable& m_commands;
    EntryHandler m_runOnly;
};
