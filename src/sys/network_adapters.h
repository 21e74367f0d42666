// The two sources of machine-identity candidates. Each lists adapters with a
// usable (not all-zero, six-byte) hardware address, in the system's order.
#pragma once

#include <vector>

#include "sys/machine_identity.h"

// Present network adapters (NDIS LAN device interface) that have a location
// on a bus, with the permanent address, or the current one when the
// permanent address is unset. Asks SetupAPI and the adapters' drivers.
std::vector<AdapterCandidate> ListDeviceAdapters();

// The adapters the IP Helper reports, classed by their connection record.
std::vector<AdapterCandidate> ListIpAdapters();
