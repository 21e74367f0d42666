// Tests for the two virtual machines whose guests hide the real network
// hardware. Each executes a hypervisor's guest instruction; on any other
// machine the instruction faults and the fault is caught here. Safe from
// any thread.
#pragma once

// True inside a Virtual PC guest.
bool IsVirtualPcGuest();

// True inside a VMware guest.
bool IsVmwareGuest();
