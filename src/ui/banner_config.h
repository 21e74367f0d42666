// The installer configuration's banner address and how it is split for the
// GIF request. Pure functions of their text.
#pragma once

#include <cstdint>
#include <string>

// "data" -> "ProductsShow" -> "gif_url" of a reply whose "code" is
// "server.success"; empty when the reply does not parse or any of these is
// missing or not a string.
std::string GifUrlFromConfig(const std::string& reply);

struct GifAddress {
  std::string host;
  uint16_t port = 80;
  std::string path;  // led by "/"
};

// Splits scheme "//" host [":" port] "/" path. The pieces between slashes
// (empty ones dropped) must be at least three; the second is the host with
// an optional decimal port (80 without one); the rest, joined by "/" and led
// by "/", is the path. The scheme is not looked at. False for too few pieces,
// an empty host, more than one ":" or a port that is not a number from 1 to
// 65535.
bool SplitGifUrl(const std::string& url, GifAddress& address);
