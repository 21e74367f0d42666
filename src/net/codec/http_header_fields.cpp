#include "net/codec/http_header_fields.h"

#include "net/codec/codec_text.h"

namespace {

// Index of the first header line that starts with name + ":", or 0 (the
// status line's index) when there is none. With `needValue`, lines with
// nothing after the colon are passed over.
size_t FindHeaderLine(const std::vector<std::string>& lines, const std::string& name,
                      bool needValue) {
  const std::string prefix = name + ":";
  for (size_t i = 1; i < lines.size(); ++i) {
    if (!codec_text::StartsWithIgnoreCase(lines[i], prefix)) continue;
    if (needValue && lines[i].size() == prefix.size()) continue;
    return i;
  }
  return 0;
}

bool IsSafeFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
    if (std::string("\\/:*?\"<>|").find(c) != std::string::npos) return false;
  }
  return true;
}

}  // namespace

bool FindHeaderValue(const std::vector<std::string>& lines, const std::string& name,
                     std::string* value) {
  const size_t at = FindHeaderLine(lines, name, false);
  if (at == 0) return false;
  *value = codec_text::TrimLeftBlanks(lines[at].substr(name.size() + 1));
  return true;
}

int64_t HeaderContentLength(const std::vector<std::string>& lines) {
  const std::string name = "Content-Length";
  const size_t at = FindHeaderLine(lines, name, true);
  if (at == 0) return 0;
  return codec_text::ParseDecimalInt64(lines[at].substr(name.size() + 1));
}

bool HeaderSaysChunked(const std::vector<std::string>& lines) {
  std::string value;
  if (!FindHeaderValue(lines, "Transfer-Encoding", &value)) return false;
  return codec_text::FindIgnoreCase(value, "chunked") != std::string::npos;
}

bool HeaderLocation(const std::vector<std::string>& lines, std::string* location) {
  return FindHeaderValue(lines, "Location", location);
}

std::string ContentDispositionFileName(const std::vector<std::string>& lines) {
  const std::string marker = "filename=";
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t at = lines[i].find(marker);
    if (at == std::string::npos) continue;
    const std::vector<std::string> pieces =
        codec_text::SplitNonEmpty(lines[i].substr(at + marker.size()), "\"");
    if (pieces.empty() || !IsSafeFileName(pieces[0])) return std::string();
    return pieces[0];
  }
  return std::string();
}
