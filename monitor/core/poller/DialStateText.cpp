#include "DialStateText.h"

#include "IntlStrings.h"
#include "RasApi.h"
#include "RasConstants.h"

namespace {

// The error text came from a buffer of 100 bytes with its terminator.
constexpr int kErrorTextLimit = 99;

int localisedId(int state) {
    switch (state) {
    case RasState::OpenPort:
        return 8000;
    case RasState::PortOpened:
        return 8010;
    case RasState::ConnectDevice:
        return 8020;
    case RasState::DeviceConnected:
        return 8030;
    case RasState::AllDevicesConnected:
        return 8050;
    case RasState::Authenticate:
        return 8060;
    case RasState::AuthNotify:
        return 8070;
    case RasState::Authenticated:
        return 8080;
    case RasState::LogonNetwork:
        return 8040;
    case RasState::Connected:
        return kConnectedTextId;
    case RasState::Disconnected:
        return 8100;
    default:
        return -1;
    }
}

const char* fixedText(int state) {
    switch (state) {
    case RasState::AuthRetry:
        return "Authentication: retry";
    case RasState::AuthCallback:
        return "Authentication: callback";
    case RasState::AuthChangePassword:
        return "Authentication: change password";
    case RasState::AuthProject:
        return "Authentication: projecting";
    case RasState::AuthLinkSpeed:
        return "Authentication: link speed";
    case RasState::AuthAck:
        return "Authentication: acknowledge";
    case RasState::ReAuthenticate:
        return "Authentication: reauthenticate";
    case RasState::PrepareForCallback:
        return "Preparing for callback";
    case RasState::WaitForModemReset:
        return "Waiting for modem reset";
    case RasState::WaitForCallback:
        return "Waiting for callback";
    case RasState::Projected:
        return "Projected";
    case RasState::StartAuthentication:
        return "Start authentication";
    case RasState::CallbackComplete:
        return "Callback complete";
    case RasState::Interactive:
        return "Interactive";
    case RasState::RetryAuthentication:
        return "Retry Authentication";
    case RasState::CallbackSetByCaller:
        return "Callback set by caller";
    case RasState::PasswordExpired:
        return "Password expired";
    default:
        return "";
    }
}

} // namespace

QString DialStateText(int state, int error, const IntlStrings& intl, const RasApi& ras) {
    if (error != 0)
        return ras.errorString(error).left(kErrorTextLimit);
    const int id = localisedId(state);
    if (id >= 0)
        return intl.IntlStr(id);
    return QString::fromLatin1(fixedText(state));
}
