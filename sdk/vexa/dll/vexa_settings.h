// What the caller told Vexa.dll about itself and where to upload: the
// process-wide settings every handle and record shares. Safe from any thread.
#pragma once

#include <cstdint>
#include <string>

#include "sys/xmutex.h"
#include "vexa/core/record.h"
#include "vexa/core/upload_target.h"

class VexaSettings {
 public:
  // Never destroyed: the upload thread may read it while the process ends.
  static VexaSettings& Instance();

  // Each setter returns false, changing nothing, for a value it refuses.
  bool SetAppKey(const std::string& appId, const std::string& appKey);
  bool SetAppName(const std::string& appName);
  bool SetHost(const std::string& host, int port);
  bool SetPath(const std::string& path);
  void SetMidVersion(int version);
  bool SetPublicKey(const std::string& base64);
  bool SetPrivateKey(const std::string& base64);

  UploadTarget Target() const;
  // Grows with every change of the target, so the uploader sees news.
  uint32_t TargetGeneration() const;
  RecordContext Context() const;
  int MidVersion() const;
  std::string PublicKeyDer() const;
  std::string PrivateKeyDer() const;

 private:
  VexaSettings() = default;

  mutable CXMutex lock_;
  std::string appId_;
  std::string appKey_;
  std::string appName_;
  UploadTarget target_;
  uint32_t generation_ = 0;
  int midVersion_ = 1;
  std::string publicKeyDer_;
  std::string privateKeyDer_;
};
