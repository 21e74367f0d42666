#include "ui/banner_config.h"

#include <json/json.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::vector<std::string> NonEmptyPieces(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

bool ParsePort(const std::string& text, uint16_t& port) {
  if (text.empty() || text.size() > 5) return false;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  port = static_cast<uint16_t>(value);
  return true;
}

const Json::Value* Member(const Json::Value& object, const char* name) {
  if (!object.isObject() || !object.isMember(name)) return nullptr;
  return &object[name];
}

}  // namespace

std::string GifUrlFromConfig(const std::string& reply) {
  Json::CharReaderBuilder builder;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(reply.data(), reply.data() + reply.size(), &root, &errors)) return std::string();
  const Json::Value* code = Member(root, "code");
  if (code == nullptr || !code->isString() || code->asString() != "server.success") {
    return std::string();
  }
  const Json::Value* data = Member(root, "data");
  const Json::Value* show = data != nullptr ? Member(*data, "ProductsShow") : nullptr;
  const Json::Value* url = show != nullptr ? Member(*show, "gif_url") : nullptr;
  if (url == nullptr || !url->isString()) return std::string();
  return url->asString();
}

bool SplitGifUrl(const std::string& url, GifAddress& address) {
  const std::vector<std::string> pieces = NonEmptyPieces(url, '/');
  if (pieces.size() < 3) return false;
  const std::string& hostPiece = pieces[1];
  const size_t colon = hostPiece.find(':');
  if (colon == 0 || std::count(hostPiece.begin(), hostPiece.end(), ':') > 1) return false;
  GifAddress split;
  split.host = hostPiece.substr(0, colon);
  if (colon != std::string::npos && !ParsePort(hostPiece.substr(colon + 1), split.port)) {
    return false;
  }
  for (size_t i = 2; i < pieces.size(); ++i) split.path += "/" + pieces[i];
  address = split;
  return true;
}
