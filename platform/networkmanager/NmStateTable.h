#pragma once
// How NetworkManager's device and active-connection states and their reasons
// read as dial states and dial error codes.

#include "RasApi.h"

#include <optional>

namespace NmState {

// NMDeviceState values.
enum Device : uint {
    DeviceUnknown = 0,
    DeviceUnmanaged = 10,
    DeviceUnavailable = 20,
    DeviceDisconnected = 30,
    DevicePrepare = 40,
    DeviceConfig = 50,
    DeviceNeedAuth = 60,
    DeviceIpConfig = 70,
    DeviceIpCheck = 80,
    DeviceSecondaries = 90,
    DeviceActivated = 100,
    DeviceDeactivating = 110,
    DeviceFailed = 120,
};

// NMActiveConnectionState values.
enum Active : uint {
    ActiveUnknown = 0,
    ActiveActivating = 1,
    ActiveActivated = 2,
    ActiveDeactivating = 3,
    ActiveDeactivated = 4,
};

// The dial state of an active connection without a device (or whose device
// has not started on it yet).
int dialStateOfActive(uint activeState);
// The dial state of a device carrying an active connection.
int dialStateOfDevice(uint deviceState, uint activeState);
// The error code (630 or more) of a failed device, from its NMDeviceStateReason.
int errorOfDeviceReason(uint reason);
// The error code of an active connection that ended before it was up, from
// its NMActiveConnectionStateReason.
int errorOfActiveReason(uint reason);

// What one look at a connection says: its active state and, when it has one,
// its device's state and reason.
struct Observed {
    uint activeState = ActiveUnknown;
    std::optional<uint> deviceState;
    uint deviceReason = 0;
};
RasConnStatus statusOf(const Observed& observed);

} // namespace NmState
