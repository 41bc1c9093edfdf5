#pragma once
// The RAS connection states and the error codes the monitor knows, with their
// values kept so stored logs and scenario files mean the same everywhere.

#include <QString>

namespace RasState {
enum : int {
    OpenPort = 0,
    PortOpened = 1,
    ConnectDevice = 2,
    DeviceConnected = 3,
    AllDevicesConnected = 4,
    Authenticate = 5,
    AuthNotify = 6,
    AuthRetry = 7,
    AuthCallback = 8,
    AuthChangePassword = 9,
    AuthProject = 10,
    AuthLinkSpeed = 11,
    AuthAck = 12,
    ReAuthenticate = 13,
    Authenticated = 14,
    PrepareForCallback = 15,
    WaitForModemReset = 16,
    WaitForCallback = 17,
    Projected = 18,
    StartAuthentication = 19,
    CallbackComplete = 20,
    LogonNetwork = 21,
    Interactive = 4096,
    RetryAuthentication = 4097,
    CallbackSetByCaller = 4098,
    PasswordExpired = 4099,
    Connected = 8192,
    Disconnected = 8193,
};
} // namespace RasState

namespace RasError {
enum : int {
    First = 600,
    Pending = 600,
    InvalidPortHandle = 601,
    PortAlreadyOpen = 602,
    CannotFindPhonebookEntry = 623,
    // Codes from here on are failures; below it they are progress reports.
    FirstFailure = 630,
    UserDisconnection = 631,
    LineBusy = 676,
    NoAnswer = 678,
    NoCarrier = 679,
    NoDialTone = 680,
    AuthenticationFailure = 691,
    Last = 799,
};
} // namespace RasError

// The standard English text of a RAS error code; empty when unknown.
QString rasErrorText(int error);
