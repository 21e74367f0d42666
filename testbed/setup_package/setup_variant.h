// Test variants of the stand-in setup package, so that tests can make it
// fail, crash or take its time. A variant is a line of words separated by
// spaces:
//   run=<ms>    stay that long before going on
//   exit=<code> end with that exit code (decimal or 0x hex) without installing
//   crash       end through an access violation (exit code 0xC0000005)
// An empty line is an ordinary run. See README.md for where variants come from.
#pragma once

#include <windows.h>

#include <string>

struct SetupVariant {
  enum class Outcome { Install, Exit, Crash };
  DWORD runMs = 0;
  Outcome outcome = Outcome::Install;
  DWORD exitCode = 0;
};

// False for a word it does not know or a malformed number.
bool ParseSetupVariant(const std::wstring& text, SetupVariant& variant);

// The variant text of this run: the first line taken off the queue file
// named by TESSARO_SETUP_VARIANT_QUEUE while that file has lines, else the
// value of TESSARO_SETUP_VARIANT, else empty.
std::wstring TakeSetupVariantText();

// Appends this run's command line as one UTF-8 line to the file named by
// TESSARO_SETUP_LOG, when that is set.
void RecordCommandLine(const std::wstring& commandLine);
