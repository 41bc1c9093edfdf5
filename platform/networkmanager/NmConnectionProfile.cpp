#include "NmConnectionProfile.h"

namespace {

const QString kBluetooth = QStringLiteral("bluetooth");
const QString kGsm = QStringLiteral("gsm");
const QString kCdma = QStringLiteral("cdma");
// NM_METERED_YES; "guess-yes" (3) is NetworkManager's guess, not the user's word.
constexpr int kMeteredYes = 1;

bool isDialType(const QString& type, const QString& bluetoothType) {
    static const QStringList kTypes = {kGsm, kCdma, QStringLiteral("pppoe"),
                                       QStringLiteral("adsl")};
    if (type == kBluetooth)
        return bluetoothType == QLatin1String("dun");
    return kTypes.contains(type);
}

QString credentialSettingOf(const QString& type, const NmSettingsMap& settings) {
    if (type == kBluetooth) {
        // A DUN profile dials through a gsm or cdma setting of its own.
        if (settings.contains(kGsm))
            return kGsm;
        return settings.contains(kCdma) ? kCdma : QString();
    }
    return isDialType(type, QString()) ? type : QString();
}

} // namespace

NmConnectionProfile NmConnectionProfile::fromSettings(const QString& path,
                                                      const NmSettingsMap& settings) {
    NmConnectionProfile p;
    p.path = path;
    p.settings = settings;
    const QVariantMap connection = settings.value(QStringLiteral("connection"));
    p.id = connection.value(QStringLiteral("id")).toString();
    p.uuid = connection.value(QStringLiteral("uuid")).toString();
    p.type = connection.value(QStringLiteral("type")).toString();
    p.meteredYes = connection.value(QStringLiteral("metered")).toInt() == kMeteredYes;
    p.bluetoothType = settings.value(kBluetooth).value(QStringLiteral("type")).toString();
    p.credentialSetting = credentialSettingOf(p.type, settings);
    if (!p.credentialSetting.isEmpty()) {
        const QVariantMap credentials = settings.value(p.credentialSetting);
        p.userName = credentials.value(QStringLiteral("username")).toString();
        p.passwordFlags = credentials.value(QStringLiteral("password-flags")).toUInt();
    }
    return p;
}

bool NmConnectionProfile::isDialUp(const QStringList& listed) const {
    if (isDialType(type, bluetoothType) || meteredYes)
        return true;
    for (const QString& item : listed) {
        if (item.compare(id, Qt::CaseInsensitive) == 0 ||
            item.compare(uuid, Qt::CaseInsensitive) == 0 ||
            item.compare(type, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool NmConnectionProfile::needsNoPassword() const {
    return credentialSetting.isEmpty() || (passwordFlags & NotRequired) != 0;
}

QStringList parseConnectionTypes(const QString& value) {
    QStringList out;
    const QStringList items = value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const QString trimmed = item.trimmed();
        if (!trimmed.isEmpty())
            out.append(trimmed);
    }
    return out;
}
