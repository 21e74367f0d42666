#include "setup_options.h"

#include <cwctype>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool SameText(const std::wstring& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != L'\0'; ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return i == a.size() && b[i] == L'\0';
}

bool StartsWithText(const std::wstring& text, const wchar_t* prefix, std::wstring& rest) {
  const std::wstring head(prefix);
  if (text.size() < head.size() || !SameText(text.substr(0, head.size()), prefix)) return false;
  rest = text.substr(head.size());
  return true;
}

}  // namespace

std::wstring WithoutTrailingBackslashes(std::wstring path) {
  // "C:\" keeps its backslash: "C:" would mean the drive's current folder.
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

std::vector<std::wstring> SplitSetupArguments(const std::wstring& commandLine) {
  std::vector<std::wstring> pieces;
  size_t at = 0;
  while (at < commandLine.size()) {
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    if (at == commandLine.size()) break;
    std::wstring piece;
    bool quoted = false;
    for (; at < commandLine.size() && (quoted || !IsBlank(commandLine[at])); ++at) {
      if (commandLine[at] == L'"') {
        quoted = !quoted;
      } else {
        piece += commandLine[at];
      }
    }
    pieces.push_back(piece);
  }
  if (!pieces.empty()) pieces.erase(pieces.begin());  // the program itself
  return pieces;
}

SetupOptions ParseSetupOptions(const std::vector<std::wstring>& arguments) {
  SetupOptions options;
  for (const std::wstring& argument : arguments) {
    std::wstring value;
    if (SameText(argument, L"/SILENT") || SameText(argument, L"/VERYSILENT")) {
      options.silent = true;
    } else if (SameText(argument, L"/NOICONS")) {
      options.noIcons = true;
    } else if (SameText(argument, L"-noexperience")) {
      options.joinPlan = false;
    } else if (SameText(argument, L"-nowelcome")) {
      options.showWelcome = false;
    } else if (StartsWithText(argument, L"/DIR=", value)) {
      options.dir = WithoutTrailingBackslashes(value);
    }
  }
  return options;
}

bool IsFullPath(const std::wstring& path) {
  if (path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\') {
    return true;
  }
  return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}
