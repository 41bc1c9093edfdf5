#pragma once
// What pppd's exit status (as pon passes it on) means as a dial error code.

namespace PppExitStatus {

// The RAS error code (630 or more) of a non-zero pppd exit status.
int rasError(int exitStatus);

} // namespace PppExitStatus
