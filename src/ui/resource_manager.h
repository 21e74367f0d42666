// CResourceManager: the skin. At construction it starts GDI+ for the process,
// makes sure the skin pictures are unpacked in the work folder's "images\"
// folder (reusing a folder or an archive left there, else writing the archive
// embedded as resource "BinarySystem" 103 and unpacking it), and indexes the
// files by name. Pictures are decoded on first request and kept until the
// manager is released. UI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "sys/unique_handle.h"
#include "telemetry/logger_server.h"
#include "ui/resource_mgr.h"

struct SkinEntry {
  std::wstring fullPath;                  // images folder + file name
  std::wstring fileName;                  // the lookup key
  std::unique_ptr<Gdiplus::Image> image;  // null until first requested
};

// Where a manager takes its skin from and reports to.
struct SkinSource {
  std::wstring workFolder;  // ends in a backslash; empty: the current folder
  HMODULE module;           // holds the skin archive resource
  ILoggerServer* logger;    // receives the manager's events; never null
};

// The running program's: GetWorkFolder(), the executable, GetLoggerServer().
SkinSource DefaultSkinSource();

// Files the skin archive holds (19 pictures, each also as "@2x"). An images
// folder holding another number of files is reported as incomplete.
constexpr size_t SKIN_FILE_COUNT = 38;

constexpr int SKIN_RESOURCE_ID = 103;
constexpr wchar_t SKIN_RESOURCE_TYPE[] = L"BinarySystem";

class CResourceManager final : public IResourceMgr {
 public:
  // Throws std::runtime_error "load resource error" when no skin could be
  // prepared, "make dir failed" when the images folder cannot be created.
  CResourceManager();
  explicit CResourceManager(SkinSource source);

  CResourceManager(const CResourceManager&) = delete;
  CResourceManager& operator=(const CResourceManager&) = delete;

  Gdiplus::Image* GetImage(const wchar_t* fileName) override;
  void Release() override;

  // The indexed files, sorted by name.
  const std::vector<SkinEntry>& Entries() const { return entries; }

 private:
  ~CResourceManager();

  bool ScanImages();
  bool UnpackCachedArchive();
  bool ExtractEmbeddedArchive();
  void ReportError(const char* status);
  void ReportStatus(const char* status);

  SkinSource source_;
  // Declared before the entries so GDI+ is shut down after their images.
  UniqueGdiplusToken gdiplusToken;
  std::vector<SkinEntry> entries;
};

// The manager as an owning pointer; throws like the constructor.
ResourceMgrPtr MakeResourceManager(SkinSource source);
