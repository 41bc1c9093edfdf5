#include "NmStateTable.h"

#include "RasConstants.h"

namespace NmState {

namespace {

// RAS codes beyond the few that RasConstants names.
enum : int {
    HardwareFailure = 630,
    PortNotAvailable = 633,
    NoDialinPermission = 649,
    FromDevice = 651,
    ConnectionDropped = 668,
    DeviceHardwareFailure = 692,
    IpConfigUnusable = 716,
    PppTimeout = 718,
    PppTerminatedByRemote = 719,
    PppLcpTerminated = 734,
};

// NMDeviceStateReason -> RAS code; reasons not listed read as FromDevice.
struct ReasonCode {
    uint reason;
    int code;
};
constexpr ReasonCode kDeviceReasons[] = {
    {4, DeviceHardwareFailure},            // CONFIG_FAILED
    {5, IpConfigUnusable},                 // IP_CONFIG_UNAVAILABLE
    {6, IpConfigUnusable},                 // IP_CONFIG_EXPIRED
    {7, RasError::AuthenticationFailure},  // NO_SECRETS
    {12, PortNotAvailable},                // PPP_START_FAILED
    {13, PppTerminatedByRemote},           // PPP_DISCONNECT
    {14, PppLcpTerminated},                // PPP_FAILED
    {15, IpConfigUnusable},                // DHCP_START_FAILED
    {16, IpConfigUnusable},                // DHCP_ERROR
    {17, IpConfigUnusable},                // DHCP_FAILED
    {23, RasError::LineBusy},              // MODEM_BUSY
    {24, RasError::NoDialTone},            // MODEM_NO_DIAL_TONE
    {25, RasError::NoCarrier},             // MODEM_NO_CARRIER
    {26, RasError::NoAnswer},              // MODEM_DIAL_TIMEOUT
    {27, FromDevice},                      // MODEM_DIAL_FAILED
    {28, DeviceHardwareFailure},           // MODEM_INIT_FAILED
    {29, FromDevice},                      // GSM_APN_FAILED
    {30, RasError::NoCarrier},             // GSM_REGISTRATION_NOT_SEARCHING
    {31, NoDialinPermission},              // GSM_REGISTRATION_DENIED
    {32, RasError::NoCarrier},             // GSM_REGISTRATION_TIMEOUT
    {33, RasError::NoCarrier},             // GSM_REGISTRATION_FAILED
    {34, RasError::AuthenticationFailure}, // GSM_PIN_CHECK_FAILED
    {35, DeviceHardwareFailure},           // FIRMWARE_MISSING
    {36, HardwareFailure},                 // REMOVED
    {37, RasError::UserDisconnection},     // SLEEPING
    {38, RasError::UserDisconnection},     // CONNECTION_REMOVED
    {39, RasError::UserDisconnection},     // USER_REQUESTED
    {40, RasError::NoCarrier},             // CARRIER
    {43, PortNotAvailable},                // MODEM_NOT_FOUND
    {44, HardwareFailure},                 // BT_FAILED
    {45, PortNotAvailable},                // GSM_SIM_NOT_INSERTED
    {46, RasError::AuthenticationFailure}, // GSM_SIM_PIN_REQUIRED
    {47, RasError::AuthenticationFailure}, // GSM_SIM_PUK_REQUIRED
    {48, PortNotAvailable},                // GSM_SIM_WRONG
    {51, HardwareFailure},                 // BR2684_FAILED
    {52, PortNotAvailable},                // MODEM_MANAGER_UNAVAILABLE
    {57, DeviceHardwareFailure},           // MODEM_FAILED
    {59, RasError::AuthenticationFailure}, // SIM_PIN_INCORRECT
};

// NMActiveConnectionStateReason -> RAS code.
constexpr ReasonCode kActiveReasons[] = {
    {2, RasError::UserDisconnection},      // USER_DISCONNECTED
    {3, ConnectionDropped},                // DEVICE_DISCONNECTED
    {4, PortNotAvailable},                 // SERVICE_STOPPED
    {5, IpConfigUnusable},                 // IP_CONFIG_INVALID
    {6, PppTimeout},                       // CONNECT_TIMEOUT
    {7, PortNotAvailable},                 // SERVICE_START_TIMEOUT
    {8, PortNotAvailable},                 // SERVICE_START_FAILED
    {9, RasError::AuthenticationFailure},  // NO_SECRETS
    {10, RasError::AuthenticationFailure}, // LOGIN_FAILED
    {11, RasError::UserDisconnection},     // CONNECTION_REMOVED
    {12, FromDevice},                      // DEPENDENCY_FAILED
    {13, DeviceHardwareFailure},           // DEVICE_REALIZE_FAILED
    {14, HardwareFailure},                 // DEVICE_REMOVED
};

template <std::size_t N> int lookUp(const ReasonCode (&table)[N], uint reason) {
    for (const ReasonCode& entry : table) {
        if (entry.reason == reason)
            return entry.code;
    }
    return FromDevice;
}

} // namespace

int dialStateOfActive(uint activeState) {
    switch (activeState) {
    case ActiveActivated:
        return RasState::Connected;
    case ActiveDeactivating:
    case ActiveDeactivated:
        return RasState::Disconnected;
    default:
        return RasState::OpenPort;
    }
}

int dialStateOfDevice(uint deviceState, uint activeState) {
    switch (deviceState) {
    case DevicePrepare:
        return RasState::OpenPort;
    case DeviceConfig:
        return RasState::ConnectDevice;
    case DeviceNeedAuth:
        return RasState::Authenticate;
    case DeviceIpConfig:
        return RasState::Authenticated;
    case DeviceIpCheck:
    case DeviceSecondaries:
        return RasState::Projected;
    case DeviceActivated:
        return RasState::Connected;
    case DeviceDeactivating:
    case DeviceFailed:
        return RasState::Disconnected;
    default:
        // The device has not taken the connection up yet (queued) or has
        // already let it go: the active connection tells which.
        return dialStateOfActive(activeState);
    }
}

int errorOfDeviceReason(uint reason) {
    return lookUp(kDeviceReasons, reason);
}

int errorOfActiveReason(uint reason) {
    return lookUp(kActiveReasons, reason);
}

RasConnStatus statusOf(const Observed& observed) {
    RasConnStatus status;
    if (!observed.deviceState) {
        status.state = dialStateOfActive(observed.activeState);
        return status;
    }
    status.state = dialStateOfDevice(*observed.deviceState, observed.activeState);
    if (*observed.deviceState == DeviceFailed)
        status.error = errorOfDeviceReason(observed.deviceReason);
    return status;
}

} // namespace NmState
