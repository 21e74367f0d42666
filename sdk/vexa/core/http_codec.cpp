#include "vexa/core/http_codec.h"

#include <string>

std::string BuildPostRequest(const UploadTarget& target, const std::string& body, const std::string& contentType) {
  std::string host = target.host;
  // An IPv6 literal needs brackets before a port.
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  if (target.port != 80) host += ":" + std::to_string(target.port);
  std::string request = "POST " + target.path + " HTTP/1.1\r\n";
  request += "Host: " + host + "\r\n";
  request += "User-Agent: Vexa/1.0\r\n";
  request += "Content-Type: " + contentType + "\r\n";
  request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  request += "Connection: close\r\n\r\n";
  request += body;
  return request;
}

size_t ReplyHeadEnd(const std::string& received) {
  const size_t end = received.find("\r\n\r\n");
  return end == std::string::npos ? end : end + 4;
}

int ReplyStatus(const std::string& head) {
  // "HTTP/1.0 200" or "HTTP/1.1 200", then a space or the end of the line.
  if (head.size() < 12 || head.compare(0, 7, "HTTP/1.") != 0 || head[8] != ' ') return 0;
  if (head[7] != '0' && head[7] != '1') return 0;
  int status = 0;
  for (size_t i = 9; i < 12; ++i) {
    if (head[i] < '0' || head[i] > '9') return 0;
    status = status * 10 + (head[i] - '0');
  }
  if (head.size() > 12 && head[12] != ' ' && head[12] != '\r') return 0;
  return status >= 100 ? status : 0;
}
