#pragma once
// One saved NetworkManager connection as far as the monitor cares: its name,
// type, where its credentials live, and whether it is a pay-by-time link.

#include "NmBus.h"

#include <QString>
#include <QStringList>

// The store value listing further connections to time (ids, uuids or types).
inline const QString kConnectionTypesValue = QStringLiteral("Connection types");

struct NmConnectionProfile {
    // NMSettingSecretFlags
    static constexpr uint AgentOwned = 0x1;
    static constexpr uint NotSaved = 0x2;
    static constexpr uint NotRequired = 0x4;

    QString path; // the settings object
    QString id;
    QString uuid;
    QString type;
    QString bluetoothType;
    bool meteredYes = false;
    // The setting holding user name and password ("gsm", "pppoe"...); empty
    // for types that dial without credentials.
    QString credentialSetting;
    QString userName;
    uint passwordFlags = 0;
    // Everything NetworkManager handed out (never the secrets).
    NmSettingsMap settings;

    static NmConnectionProfile fromSettings(const QString& path, const NmSettingsMap& settings);

    // Modems, PPPoE, ADSL, Bluetooth DUN, anything metered "yes", and anything
    // whose id, uuid or type is listed.
    bool isDialUp(const QStringList& listed) const;
    // Whether NetworkManager can bring it up without asking for a password.
    bool needsNoPassword() const;
};

// The items of the "Connection types" value: ";"-separated, blanks trimmed.
QStringList parseConnectionTypes(const QString& value);
