// Facts about this machine and its user that stay the same from run to run,
// for the SDK's machine and user ids. Safe from any thread; nothing raises.
#pragma once

#include <string>

// The installation's machine GUID and the serial number of the Windows
// volume, joined with '|'; the computer name stands in for a missing GUID.
// Never empty.
std::string StableMachineFacts();

// The current user's SID as text ("S-1-5-21-..."); the user name when the
// SID cannot be read; empty when neither can.
std::string CurrentUserText();
