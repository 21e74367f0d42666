// The installed product: where its program is and which version it is.
#pragma once

#include <string>

// Operations in this order are the slots of the interface.
class IAppInfo {
 public:
  // Re-reads path and version from the product's uninstall record; false
  // when something failed inside (what was read so far is kept).
  virtual bool Refresh() = 0;
  // Full path of the installed program; empty when the product is not
  // installed.
  virtual std::wstring GetAppPath() = 0;
  // Product version of that program; empty when unknown.
  virtual std::wstring GetAppVersion() = 0;
  // The "ProductVersion" of a file's version block; for an empty path, of
  // the running installer itself. Empty when it cannot be read.
  virtual std::wstring GetProductVersion(const std::wstring& path) = 0;
  // Last, so that it does not take a slot ahead of the operations.
  virtual ~IAppInfo() = default;
};

class CAppInfo : public IAppInfo {
 public:
  bool Refresh() override;
  std::wstring GetAppPath() override { return path; }
  std::wstring GetAppVersion() override { return version; }
  std::wstring GetProductVersion(const std::wstring& filePath) override;

 private:
  std::wstring path;
  std::wstring version;
};

// The uninstall key (under HKEY_LOCAL_MACHINE) the product's setup writes.
extern const wchar_t* const PRODUCT_UNINSTALL_KEY;

// The process's one CAppInfo, made and refreshed on the first call and kept
// until the process ends. Not locked: first called on the main thread during
// startup; Refresh must not race with readers.
IAppInfo* GetAppInfo();
