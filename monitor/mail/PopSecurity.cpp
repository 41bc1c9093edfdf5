#include "PopSecurity.h"

namespace PopSecurityText {

QStringList names() {
    return {QStringLiteral("none"), QStringLiteral("STLS"), QStringLiteral("POP3S")};
}

QString name(PopSecurity security) {
    return names().at(int(security));
}

std::optional<PopSecurity> parse(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return PopSecurity::None;
    const QStringList all = names();
    for (int i = 0; i < all.size(); ++i)
        if (t.compare(all.at(i), Qt::CaseInsensitive) == 0)
            return PopSecurity(i);
    return std::nullopt;
}

int defaultPort(PopSecurity security) {
    return security == PopSecurity::Pop3s ? 995 : 110;
}

} // namespace PopSecurityText
