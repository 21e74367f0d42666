#include "ui/resource_manager.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "sys/work_folder.h"
#include "ui/gdiplus_session.h"
#include "ui/picture_load.h"
#include "ui/skin_events.h"

SkinSource DefaultSkinSource() {
  return SkinSource{GetWorkFolder(), ::GetModuleHandleW(nullptr), GetLoggerServer()};
}

CResourceManager::CResourceManager() : CResourceManager(DefaultSkinSource()) {}

CResourceManager::CResourceManager(SkinSource source) : source_(std::move(source)) {
  source_.logger->ClearProperties();
  source_.logger->SendEvent("vResourceMgrStart");
  gdiplusToken = StartGdiplus();
  // Normally the first attempt only creates the empty images folder and the
  // second finds no archive yet; a rerun in the same folder stops earlier.
  if (ScanImages() || UnpackCachedArchive() || ExtractEmbeddedArchive()) {
    ReportStatus(SKIN_STATUS_CREATED);
    return;
  }
  ReportStatus(SKIN_STATUS_FAILED);
  throw std::runtime_error("load resource error");
}

CResourceManager::~CResourceManager() = default;

void CResourceManager::Release() { delete this; }

ResourceMgrPtr MakeResourceManager(SkinSource source) {
  return ResourceMgrPtr(new CResourceManager(std::move(source)));
}

void CResourceManager::ReportError(const char* status) {
  source_.logger->ClearProperties();
  source_.logger->SetStringProperty("error_status", status);
  source_.logger->SendEvent("vResourceError");
}

void CResourceManager::ReportStatus(const char* status) {
  source_.logger->ClearProperties();
  source_.logger->SetStringProperty("resource_status", status);
  source_.logger->SendEvent("vResourceStatus");
}

Gdiplus::Image* CResourceManager::GetImage(const wchar_t* fileName) {
  if (fileName == nullptr) return nullptr;
  const std::wstring key(fileName);
  const auto found = std::lower_bound(
      entries.begin(), entries.end(), key,
      [](const SkinEntry& entry, const std::wstring& name) { return entry.fileName < name; });
  if (found == entries.end() || found->fileName != key) {
    ReportError(SKIN_ERROR_NOT_FOUND);
    return nullptr;
  }
  if (!found->image) {
    // A file that does not decode still gives an image object, one that
    // draws nothing; it is kept so the file is not tried again.
    found->image = LoadPictureFile(found->fullPath);
    if (!found->image) {
      ReportError(SKIN_ERROR_NOT_FOUND);
      return nullptr;
    }
  }
  return found->image.get();
}
