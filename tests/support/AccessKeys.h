#pragma once
// Access keys ("&File" → F) of captions that are shown together, and the
// groups of captions that claim the same key.

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

namespace AccessKeys {

// The key marked by a single "&", in lower case; null when there is none
// ("&&" is a literal ampersand).
QChar of(const QString& caption);

struct Item {
    QString name; // what the caption belongs to: a design name or a string id
    QString caption;
};

// The names of the items that share a key, one list per shared key.
QList<QStringList> clashes(const QList<Item>& items);

// The clashes of translated that are not already clashes of english, the
// same group shown in English; each as "key: caption | caption".
QStringList newClashes(const QList<Item>& translated, const QList<Item>& english);

} // namespace AccessKeys
