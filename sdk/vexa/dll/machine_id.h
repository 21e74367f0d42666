// The machine id texts of vexaMid and vexaMidEx.
#pragma once

// 32 lower-case hexadecimal digits, the same on every run on this machine:
// the MD5 of the version number and the machine's stable facts. Different
// versions give unrelated ids. Empty (never null) for a version below 1.
// The text stays valid until the process ends. Safe from any thread.
const char* MachineIdText(int version);
