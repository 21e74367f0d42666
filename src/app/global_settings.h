// GlobalSettings: the process-wide settings record. The entry point creates it
// right after the single-instance guard and deletes it at the very end of the
// run; between those moments GetGlobalSettings() never returns null.
#pragma once

#include <string>

#include "net/net_settings.h"
#include "sys/xmutex.h"

struct GlobalSettings {
  double windowScale = 1.0;  // applied to every widget metric, never below 1.0
  double dpiScale = 1.0;     // 1.0 until measured once
  ProxySetting proxy;        // guarded by mutex
  DnsSetting dns;            // guarded by mutex
  std::string channel;       // at most 8 bytes; guarded by mutex
  CXMutex mutex;
};

// Channel codes are cut to this many bytes.
constexpr size_t MAX_CHANNEL_BYTES = 8;

void CreateGlobalSettings();
void DeleteGlobalSettings();
// Null before CreateGlobalSettings and after DeleteGlobalSettings.
GlobalSettings* GetGlobalSettings();

// Copies of the guarded members, taken under the mutex (empty values when
// there is no GlobalSettings).
std::string GlobalChannel();
void SetGlobalChannel(const std::string& channel);
