// Test support: a uniquely named folder under the temporary folder that is
// removed with everything in it (read-only files included) when the object
// goes away, and whole-file helpers.
#pragma once

#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in a backslash.
  const std::wstring& path() const { return path_; }
  // The folder followed by `relative`.
  std::wstring operator/(const std::wstring& relative) const { return path_ + relative; }

 private:
  std::wstring path_;
};

// Creates or truncates the file and writes `bytes`; false on any failure.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// The file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);

// True when `path` names anything at all on disk.
bool PathExists(const std::wstring& path);

// Removes a tree without using the code under test.
void RemoveTreeForTest(const std::wstring& path);
