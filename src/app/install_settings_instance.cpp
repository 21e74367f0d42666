#include "app/install_settings.h"
#include "sys/cache_root.h"

InstallSettings& GetInstallSettings() {
  // Lives until process exit; the startup's first write creates it.
  static InstallSettings instance(GetCacheRoot() + L"TESSARO\\config.ini");
  return instance;
}
