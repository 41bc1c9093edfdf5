#include "RasApi.h"

#include "RasConstants.h"

QString RasApi::errorString(int error) const {
    const QString text = rasErrorText(error);
    // The number alone still lets the user look the failure up.
    return text.isEmpty() ? QStringLiteral("Error %1").arg(error) : text;
}
