#include "app/global_settings.h"

#include <memory>

namespace {

std::unique_ptr<GlobalSettings>& Instance() {
  static std::unique_ptr<GlobalSettings> instance;
  return instance;
}

}  // namespace

void CreateGlobalSettings() { Instance() = std::make_unique<GlobalSettings>(); }

void DeleteGlobalSettings() { Instance().reset(); }

GlobalSettings* GetGlobalSettings() { return Instance().get(); }

std::string GlobalChannel() {
  GlobalSettings* settings = GetGlobalSettings();
  if (!settings) return {};
  CXMutexLock guard(settings->mutex);
  return settings->channel;
}

void SetGlobalChannel(const std::string& channel) {
  GlobalSettings* settings = GetGlobalSettings();
  if (!settings) return;
  CXMutexLock guard(settings->mutex);
  settings->channel = channel.substr(0, MAX_CHANNEL_BYTES);
}
