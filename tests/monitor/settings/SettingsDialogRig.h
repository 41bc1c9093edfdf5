#pragma once
// What the settings dialog's tests share: a store that notes its writes, a
// phone book of three entries, the recording view for the dialog's boxes,
// and fakes of the launcher, the password prompt and the sound.

#include "Clock.h"
#include "DialdartIcon.h"
#include "IntlStrings.h"
#include "RecordingView.h"
#include "RunEntry.h"
#include "ScriptedPasswordPrompt.h"
#include "SessionState.h"
#include "SettingsDialog.h"
#include "SettingsTestSupport.h"
#include "SimRasApi.h"
#include "SoundPlayer.h"
#include "TestFormats.h"

#include <stdexcept>

// Notes what was asked of the desktop launcher; fails on request.
class RecordingDialdartIcon : public DialdartIcon {
public:
    void setDialdartIcon(bool on) override {
        calls << (on ? QStringLiteral("on") : QStringLiteral("off"));
        if (on && fail)
            throw std::runtime_error("the desktop folder is read-only");
    }
    QStringList calls;
    bool fail = false;
};

// Notes the files it was asked to play and reports the outcome given.
class RecordingSound : public SoundPlayer {
public:
    void play(const QString& file, Outcome outcome) override {
        files << file;
        if (outcome)
            outcome(playable);
    }
    QStringList files;
    bool playable = true;
};

inline const QString kThreeEntries =
    QStringLiteral("entry \"Hometown Dial\"\nentry \"Backup ISP\"\nentry \"Night Owl\"\n");

struct SettingsDialogRig {
    explicit SettingsDialogRig(const QString& phoneBook = kThreeEntries)
        : settings(store), intl(settings), formats(TestFormats::enUS()),
          ras(Scenario::parse(phoneBook, QStringLiteral("test.scn")), clock) {}

    SettingsDialogContext context() {
        return {{settings, intl, formats, {}},
                ras,
                session,
                view,
                password,
                runEntry,
                icon,
                QStringLiteral("/opt/tollwatch/bin/tollwatch"),
                QStringLiteral("/opt/tollwatch/sounds"),
                [this] { ++logViews; },
                [this] {
                    ++programEnds;
                }};
    }
    QString user(const QString& name) const {
        const auto v = store.readValue(RegRoot::CurrentUser, kSettingsKey, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
    QString machine(const QString& name) const {
        const auto v = store.readValue(RegRoot::LocalMachine, kMachineKey, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
    void setUser(const QString& name, const QString& text) {
        settings.WriteText(kSettingsKey, name, text);
    }
    void setMachine(const QString& name, const QString& text) {
        store.writeValue(RegRoot::LocalMachine, kMachineKey, name, RegValue::fromString(text));
    }

    WriteOrderStore store;
    Settings settings;
    IntlStrings intl;
    FormatSettings formats;
    ManualClock clock{QDateTime(QDate(2024, 3, 15), QTime(21, 0))};
    SimRasApi ras;
    SessionState session;
    RecordingView view;
    ScriptedPasswordPrompt password;
    StoreRunEntry runEntry{store};
    RecordingDialdartIcon icon;
    int logViews = 0;
    int programEnds = 0;
};
