#include "net/codec/http_request.h"

#include "net/codec/http_form.h"

namespace {

std::string RequestLine(const char* method, const std::string& path) {
  return std::string(method) + " " + path + " HTTP/1.1\r\n";
}

}  // namespace

std::string BuildGetRequest(const std::string& path, const std::string& host) {
  std::string request = RequestLine("GET", path);
  if (!host.empty()) request += "Host: " + host + "\r\n";
  request += "Connection: close\r\n\r\n";
  return request;
}

std::string BuildHeadRequest(const std::string& path, const std::string& host) {
  std::string request = RequestLine("HEAD", path);
  if (!host.empty()) request += "Host:" + host + "\r\n";
  request += "Accept:*/*\r\n";
  request += "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n";
  request += "Connection:close\r\n";
  request += "\r\n";
  return request;
}

std::string BuildPostFormRequest(const std::string& path, const std::string& host,
                                 uint64_t contentLength) {
  std::string request = RequestLine("POST", path);
  if (!host.empty()) request += "Host: " + host + "\r\n";
  request += std::string("Content-Type: multipart/form-data; boundary=") + HTTP_FORM_BOUNDARY +
             "\r\n";
  request += "Content-Length: " + std::to_string(contentLength) + "\r\n";
  request += "Connection: close\r\n\r\n";
  return request;
}
