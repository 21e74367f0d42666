// The command line of the stand-in setup package, read as Inno Setup reads
// its own: arguments split at white space outside double quotes, quotes
// removed, no backslash escapes (so /DIR="C:\Tessaro\" keeps its backslash),
// switches compared without regard to case.
#pragma once

#include <string>
#include <vector>

struct SetupOptions {
  bool silent = false;      // /SILENT or /VERYSILENT: no window at all
  bool noIcons = false;     // /noicons: no start-menu folder is recorded
  bool joinPlan = true;     // false with -noexperience
  bool showWelcome = true;  // false with -nowelcome
  std::wstring dir;         // /DIR=, trailing backslashes removed; empty when absent
};

// The arguments after the program name.
std::vector<std::wstring> SplitSetupArguments(const std::wstring& commandLine);

// Unknown arguments are ignored, as Inno Setup ignores them.
SetupOptions ParseSetupOptions(const std::vector<std::wstring>& arguments);

// The path without trailing backslashes, except the one of a drive root.
std::wstring WithoutTrailingBackslashes(std::wstring path);

// True for a full path with a drive letter ("C:\...") or a UNC path.
bool IsFullPath(const std::wstring& path);
