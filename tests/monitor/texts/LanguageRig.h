#pragma once
// Shared by the translation tests: the nine languages with a list index and a
// locale each, and a status window that needs no sound.

#include "IntlStrings.h"
#include "MemoryRegistryStore.h"
#include "SoundPlayer.h"
#include "TfrmTAPIMon.h"

#include <QApplication>

struct Language {
    int index; // in the language list, the stored "Language"
    const char* name;
    const char* locale;
};

// By k, the offset of the language in the string table.
inline const Language kLanguages[] = {{1, "en", "en_US"}, {5, "sv", "sv_SE"}, {4, "de", "de_DE"},
                                      {3, "fr", "fr_FR"}, {0, "nl", "nl_NL"}, {6, "it", "it_IT"},
                                      {7, "es", "es_ES"}, {8, "pt", "pt_PT"}, {9, "da", "da_DK"}};
constexpr int kLanguageCount = 9;

class SilentSound : public SoundPlayer {
public:
    void play(const QString&, Outcome outcome) override {
        if (outcome)
            outcome(false);
    }
};

// A shown status window and a store whose "Language" selects language k.
struct LanguageRig {
    LanguageRig() {
        window.show();
        QApplication::processEvents();
    }
    void choose(int k) {
        settings.WriteText(kSettingsKey, QStringLiteral("Language"),
                           QString::number(kLanguages[k].index));
    }

    SilentSound sound;
    TfrmTAPIMon window{[](const QString&) {}, [](int) {}, sound};
    MemoryRegistryStore store;
    Settings settings{store};
    IntlStrings intl{settings};
};
