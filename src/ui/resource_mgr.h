// IResourceMgr: where views get their skin pictures. One manager serves the
// whole run; only the UI thread uses it.
#pragma once

#include <memory>

#include "ui/gdiplus_include.h"

class IResourceMgr {
 public:
  // The picture stored under `fileName` (exact, case-sensitive match), loaded
  // on first request. Owned by the manager and valid until it is released;
  // null for a null name, an unknown name or when no image object can be made.
  virtual Gdiplus::Image* GetImage(const wchar_t* fileName) = 0;
  // Destroys the manager, its pictures and, last, its GDI+ session.
  virtual void Release() = 0;

 protected:
  IResourceMgr() = default;
  ~IResourceMgr() = default;
};

// Owns a manager and releases it.
struct ResourceMgrRelease {
  void operator()(IResourceMgr* manager) const noexcept { manager->Release(); }
};
using ResourceMgrPtr = std::unique_ptr<IResourceMgr, ResourceMgrRelease>;
