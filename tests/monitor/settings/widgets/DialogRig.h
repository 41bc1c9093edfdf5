#pragma once
// What the dialog tests share: a store, the texts in a chosen language, the
// dialogs' context, and the check that a shown dialog cuts none of its texts.

#include "IntlStrings.h"
#include "MemoryRegistryStore.h"
#include "Settings.h"
#include "TariffDialogContext.h"
#include "TestFormats.h"

#include <QStringList>

class QWidget;

struct DialogRig {
    DialogRig() : settings(store), intl(settings), formats(TestFormats::enUS()) {}

    // A language list index (4 German, 0 Dutch, ...).
    void language(int index) {
        settings.WriteText(kSettingsKey, QStringLiteral("Language"), QString::number(index));
    }
    TariffDialogContext context() { return {settings, intl, formats, download}; }
    QString user(const QString& name) const {
        const auto v = store.readValue(RegRoot::CurrentUser, kSettingsKey, name);
        return v ? v->text : QStringLiteral("<missing>");
    }

    MemoryRegistryStore store;
    Settings settings;
    IntlStrings intl;
    FormatSettings formats;
    std::function<void()> download;
};

namespace DialogFit {

// The visible labels, buttons and check boxes of window whose text does not
// fit the room they were given, as "objectName: text".
QStringList clippedTexts(QWidget& window);
// Shows window and lets it lay itself out.
void showAndSettle(QWidget& window);

} // namespace DialogFit
