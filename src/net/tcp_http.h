// CTCPHttp: a minimal HTTP/1.1 client over CTCPClient. One object makes one
// request over one connection and asks the server to close it afterwards.
// Errors are raised as std::runtime_error with a plain message text, like the
// base class's; callers catch them and count the attempt as failed.
#pragma once

#include <cstdint>
#include <string>

#include "net/codec/http_form.h"
#include "net/codec/http_head.h"
#include "net/tcp_client.h"

class CTCPHttp : public CTCPClient {
 public:
  // Resolves host with the process's DNS setting. When that fails, resolves
  // it with the own resolver at the deployment's primary public resolver and,
  // if that works, publishes that DNS setting for the whole process. Raises
  // "Can't resolve host name" when both fail. Does not connect.
  CTCPHttp(const std::string& hostName, uint16_t portNumber);
  ~CTCPHttp() override;

  // GET of `path` (sent as it is) with `hostHeader` in the Host line (left
  // out when empty). Returns the body of a "200" reply, empty for any other
  // status (the body is then not read). Bodies above HTTP_BODY_LIMIT fail.
  std::string Get(const std::string& path, const std::string& hostHeader);

  // Connects, sends the GET request and reads the reply head.
  HttpResponseHead SendGet(const std::string& path, const std::string& hostHeader);

  // HEAD request; the reply's status and header lines.
  HttpResponseHead Head(const std::string& hostHeader, const std::string& path);

  // POST of `form` as multipart/form-data; returns the body whatever the
  // status. The form is left prepared: fields added later are ignored, and a
  // second call sends the same body again.
  std::string PostForm(const std::string& hostHeader, const std::string& path, HttpForm& form);

 protected:
  // Sends every byte of `buffer`; nothing for an empty one.
  void SendAll(const std::string& buffer);
  // Receives exactly `count` bytes into `buffer`.
  void ReceiveExact(size_t count, char* buffer);
  // Reads the head one byte per recv, so no body byte is taken early.
  HttpResponseHead ReadResponseHead();
  // The body after `head`, framed by its length or chunked.
  std::string ReadReplyBody(const HttpResponseHead& head);
  std::string ReadBody(int64_t length);
  std::string ReadChunkedBody();
};
