#include "AccessKeys.h"

#include <QMap>

namespace AccessKeys {

QChar of(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption.at(i + 1).toLower();
    }
    return {};
}

namespace {

QMap<QChar, QList<Item>> byKey(const QList<Item>& items) {
    QMap<QChar, QList<Item>> keys;
    for (const Item& item : items) {
        const QChar key = of(item.caption);
        if (!key.isNull())
            keys[key].append(item);
    }
    return keys;
}

} // namespace

QList<QStringList> clashes(const QList<Item>& items) {
    QList<QStringList> result;
    const auto keys = byKey(items);
    for (const QList<Item>& sharing : keys) {
        if (sharing.size() < 2)
            continue;
        QStringList names;
        for (const Item& item : sharing)
            names.append(item.name);
        result.append(names);
    }
    return result;
}

QStringList newClashes(const QList<Item>& translated, const QList<Item>& english) {
    // A clash the English has too (its captions are fixed) is tolerated, as
    // long as the translation adds nobody to it.
    const QList<QStringList> tolerated = clashes(english);
    const auto inEnglish = [&tolerated](const QList<Item>& sharing) {
        for (const QStringList& names : tolerated) {
            bool all = true;
            for (const Item& item : sharing)
                all = all && names.contains(item.name);
            if (all)
                return true;
        }
        return false;
    };
    QStringList result;
    const auto keys = byKey(translated);
    for (auto it = keys.constBegin(); it != keys.constEnd(); ++it) {
        if (it->size() < 2 || inEnglish(*it))
            continue;
        QStringList captions;
        for (const Item& item : *it)
            captions.append(item.caption);
        result.append(QString(it.key()) + QStringLiteral(": ") +
                      captions.join(QStringLiteral(" | ")));
    }
    return result;
}

} // namespace AccessKeys
