#include "vexa/core/upload_target.h"

#include <cstdint>

namespace {

bool IsHeadSafe(char c) {
  const auto byte = static_cast<uint8_t>(c);
  return byte > 0x20 && byte != 0x7F;
}

}  // namespace

bool UploadTarget::IsValidHost(const std::string& host) {
  if (host.empty() || host.size() > 253) return false;
  for (char c : host) {
    if (!IsHeadSafe(c) || c == '/' || c == '@' || c == '"' || c == '\\') return false;
  }
  return true;
}

bool UploadTarget::IsValidPath(const std::string& path) {
  if (path.empty() || path.size() > 2048 || path[0] != '/') return false;
  for (char c : path) {
    if (!IsHeadSafe(c)) return false;
  }
  return true;
}
