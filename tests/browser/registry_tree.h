// Test support: a registry key of the test's own with sub-keys and string
// values, deleted with everything below it when the object goes away.
#pragma once

#include <windows.h>

#include <string>

class RegistryTree {
 public:
  // Creates root\path; valid() tells whether that worked.
  RegistryTree(HKEY root, std::wstring path);
  ~RegistryTree();
  RegistryTree(const RegistryTree&) = delete;
  RegistryTree& operator=(const RegistryTree&) = delete;

  bool valid() const { return key_ != nullptr; }
  HKEY key() const { return key_; }
  // Sets a REG_SZ value of sub-key `subKey` (created when missing; empty for
  // the tree's own key); an empty name sets the key's unnamed value.
  bool SetString(const std::wstring& subKey, const std::wstring& name, const std::wstring& text);

 private:
  HKEY root_;
  std::wstring path_;
  HKEY key_ = nullptr;
};

// True when root\path exists.
bool RegistryKeyExists(HKEY root, const std::wstring& path);

// A name no other test run uses: prefix, process id, clock and a counter.
std::wstring UniqueTestName(const wchar_t* prefix);
