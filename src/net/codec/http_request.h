// The request texts the HTTP client sends, each built whole before sending.
// Paths go out unchanged (callers pass them encoded); an empty host leaves
// the Host line out. Every request asks the server to close the connection.
#pragma once

#include <cstdint>
#include <string>

// "GET <path> HTTP/1.1", "Host: <host>", "Connection: close", blank line.
std::string BuildGetRequest(const std::string& path, const std::string& host);

// "HEAD <path> HTTP/1.1", "Host:<host>" (no blank after the colon),
// "Accept:*/*", the old browser User-Agent, "Connection:close", blank line.
std::string BuildHeadRequest(const std::string& path, const std::string& host);

// "POST <path> HTTP/1.1", "Host: <host>", the multipart Content-Type with
// HTTP_FORM_BOUNDARY, "Content-Length: <contentLength>", "Connection: close",
// blank line. The form body (HttpForm) follows separately.
std::string BuildPostFormRequest(const std::string& path, const std::string& host,
                                 uint64_t contentLength);
