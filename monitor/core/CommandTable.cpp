#include "CommandTable.h"

void CommandTable::add(const QString& name, Handler handler) {
    m_handlers.insert(name, std::move(handler));
}

void CommandTable::add(std::initializer_list<const char*> names, const Handler& handler) {
    for (const char* name : names)
        add(QString::fromLatin1(name), handler);
}

bool CommandTable::run(const QString& name) const {
    const auto it = m_handlers.constFind(name);
    if (it == m_handlers.constEnd())
        return false;
    // A copy, so that a handler may replace its own entry while it runs.
    const Handler handler = it.value();
    handler();
    return true;
}
