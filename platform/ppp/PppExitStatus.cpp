#include "PppExitStatus.h"

#include "RasConstants.h"

namespace PppExitStatus {

namespace {

enum : int {
    PortNotAvailable = 633,
    FromDevice = 651,
    ConnectionDropped = 668,
    DeviceHardwareFailure = 692,
    PppTimeout = 718,
    PppNotConverging = 732,
    PppLcpTerminated = 734,
};

} // namespace

int rasError(int exitStatus) {
    // The statuses of pppd(8), "EXIT STATUS".
    switch (exitStatus) {
    case 2: // error in the options
    case 3: // not privileged enough
    case 4: // no PPP support in the kernel
    case 6: // the serial port could not be locked
    case 7: // the serial port could not be opened
        return PortNotAvailable;
    case 5: // stopped by a signal (poff)
        return RasError::UserDisconnection;
    case 10: // LCP or IPCP negotiation failed
        return PppNotConverging;
    case 11: // the peer did not authenticate itself
    case 19: // we could not authenticate ourselves
        return RasError::AuthenticationFailure;
    case 12: // idle
    case 13: // connect time limit
        return ConnectionDropped;
    case 15: // the peer stopped answering echo requests
        return PppTimeout;
    case 16: // the modem hung up
        return RasError::NoCarrier;
    case 17: // looped back
        return PppLcpTerminated;
    case 18: // the init script failed
        return DeviceHardwareFailure;
    default: // 1 fatal error, 8 connect script failed, 9 pty command failed...
        return FromDevice;
    }
}

} // namespace PppExitStatus
