#include "vexa/dll/vexa_settings.h"

#include <string>

#include "common/base64.h"
#include "vexa/core/sealer.h"
#include "vexa/dll/machine_id.h"

namespace {

constexpr size_t kMaxTextBytes = 1024;

bool IsPlainText(const std::string& text) {
  if (text.empty() || text.size() > kMaxTextBytes) return false;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

}  // namespace

VexaSettings& VexaSettings::Instance() {
  static VexaSettings* instance = new VexaSettings();
  return *instance;
}

bool VexaSettings::SetAppKey(const std::string& appId, const std::string& appKey) {
  if (!IsPlainText(appId) || !IsPlainText(appKey)) return false;
  CXMutexLock guard(lock_);
  appId_ = appId;
  appKey_ = appKey;
  return true;
}

bool VexaSettings::SetAppName(const std::string& appName) {
  if (!IsPlainText(appName)) return false;
  CXMutexLock guard(lock_);
  appName_ = appName;
  return true;
}

bool VexaSettings::SetHost(const std::string& host, int port) {
  if (!UploadTarget::IsValidHost(host) || !UploadTarget::IsValidPort(port)) return false;
  CXMutexLock guard(lock_);
  target_.host = host;
  target_.port = port;
  ++generation_;
  return true;
}

bool VexaSettings::SetPath(const std::string& path) {
  if (!UploadTarget::IsValidPath(path)) return false;
  CXMutexLock guard(lock_);
  target_.path = path;
  ++generation_;
  return true;
}

void VexaSettings::SetMidVersion(int version) {
  if (version < 1) return;
  CXMutexLock guard(lock_);
  midVersion_ = version;
}

bool VexaSettings::SetPublicKey(const std::string& base64) {
  std::string der;
  if (!Base64Decode(base64, der) || !IsUsablePublicKey(der)) return false;
  CXMutexLock guard(lock_);
  publicKeyDer_ = der;
  return true;
}

bool VexaSettings::SetPrivateKey(const std::string& base64) {
  std::string der;
  if (!Base64Decode(base64, der) || !IsUsablePrivateKey(der)) return false;
  CXMutexLock guard(lock_);
  privateKeyDer_ = der;
  return true;
}

UploadTarget VexaSettings::Target() const {
  CXMutexLock guard(lock_);
  return target_;
}

uint32_t VexaSettings::TargetGeneration() const {
  CXMutexLock guard(lock_);
  return generation_;
}

RecordContext VexaSettings::Context() const {
  int version = 1;
  RecordContext context;
  {
    CXMutexLock guard(lock_);
    context.appId = appId_;
    context.appName = appName_;
    version = midVersion_;
  }
  context.machineId = MachineIdText(version);
  return context;
}

int VexaSettings::MidVersion() const {
  CXMutexLock guard(lock_);
  return midVersion_;
}

std::string VexaSettings::PublicKeyDer() const {
  CXMutexLock guard(lock_);
  return publicKeyDer_;
}

std::string VexaSettings::PrivateKeyDer() const {
  CXMutexLock guard(lock_);
  return privateKeyDer_;
}
