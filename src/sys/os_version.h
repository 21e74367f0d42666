// Which Windows the program runs on, and whether it is a 64-bit Windows.
#pragma once

#include <windows.h>

// Operating system codes of GetOsVersionCode.
enum OsVersionCode : int {
  OS_WINDOWS_XP = 0,
  OS_WINDOWS_VISTA = 1,
  OS_WINDOWS_7 = 2,
  OS_WINDOWS_7_SP1 = 3,  // service pack 1 or later
  OS_WINDOWS_8 = 4,      // 6.2 or later whose true major version is not 10 (8, 8.1)
  OS_WINDOWS_10 = 5,     // true major version 10 (10, 11)
  OS_OTHER = 6,          // anything else, and when the version cannot be read
};

// RtlGetNtVersionNumbers of ntdll: the true version, whatever the program's
// manifest declares. Outputs stay as the caller set them when ntdll lacks
// the export. The entry point is resolved once and kept.
void GetNtVersionNumbers(DWORD& major, DWORD& minor, DWORD& build);

// What GetVersionExW reports. Windows 8.1 and later report 6.2 to a program
// whose manifest declares no compatibility with them.
struct ReportedVersion {
  DWORD major;
  DWORD minor;
  WORD servicePackMajor;
};

// The code for a reported version; `trueMajor` yields the true major
// version and is asked only for 6.2 and later.
template <typename TrueMajor>
int OsVersionCodeFor(const ReportedVersion& v, TrueMajor trueMajor) {
  if (v.major == 5) return v.minor == 1 ? OS_WINDOWS_XP : OS_OTHER;
  if (v.major != 6) return OS_OTHER;
  if (v.minor == 0) return OS_WINDOWS_VISTA;
  if (v.minor == 1) return v.servicePackMajor != 0 ? OS_WINDOWS_7_SP1 : OS_WINDOWS_7;
  return trueMajor() == 10 ? OS_WINDOWS_10 : OS_WINDOWS_8;
}

// The code of this Windows, computed on the first call and kept. Not
// locked: first called on the main thread during startup.
int GetOsVersionCode();

// True on a 64-bit Windows (AMD64 or IA-64), also while this 32-bit program
// runs under WOW64; false on a 32-bit Windows and when it cannot be told.
bool Is64BitWindows();
