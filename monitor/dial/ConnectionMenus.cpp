#include "ConnectionMenus.h"

#include "CommandTable.h"
#include "IntlStrings.h"
#include "MonitorView.h"
#include "RasApi.h"

ConnectionMenus::ConnectionMenus(const MonitorParts& parts, CommandTable& commands,
                                 EntryHandler runOnly)
    : m_parts(parts), m_commands(commands), m_runOnly(std::move(runOnly)) {}

void ConnectionMenus::PopulateConnections() {
    QList<RasEntry> entries;
    const int error = m_parts.ras.enumEntries(entries);
    if (error != 0 || entries.size() > kMaxEntries) {
        m_parts.view.messageBox(m_parts.intl.IntlStr(240), m_parts.intl.IntlStr(7150),
                                BoxButtons::Ok, BoxIcon::Error, BoxAnswer::Ok);
        return;
    }
    QStringList names;
    for (const RasEntry& entry : entries)
        names << entry.name;
    for (const QString& menu : {kConnectMenu, kConnectUsingMenu}) {
        m_parts.view.setCommandItems(menu, names);
        for (const QString& name : names)
            m_commands.add(commandItemName(menu, name), [this, name] { m_runOnly(name); });
    }
}
