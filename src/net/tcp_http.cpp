#include "net/tcp_http.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "deployment.h"
#include "net/codec/chunked_body.h"
#include "net/codec/http_body.h"
#include "net/codec/http_request.h"
#include "net/network_check.h"

namespace {

// Chunk data is received in pieces of at most this size.
constexpr size_t CHUNK_RECEIVE_BYTES = 64 * 1024;

[[noreturn]] void Fail(const char* message) { throw std::runtime_error(message); }

}  // namespace

CTCPHttp::CTCPHttp(const std::string& hostName, uint16_t portNumber) {
  dns = CurrentDnsSetting();
  try {
    Resolve(hostName, portNumber);
    return;
  } catch (const std::exception&) {
  }
  dns.mode = DnsOwn;
  dns.server = deployment::PRIMARY_DNS_SERVER;
  Resolve(hostName, portNumber);
  PublishDnsSetting(dns);
}

CTCPHttp::~CTCPHttp() = default;

std::string CTCPHttp::Get(const std::string& path, const std::string& hostHeader) {
  const HttpResponseHead head = SendGet(path, hostHeader);
  if (head.status != "200") return {};
  return ReadReplyBody(head);
}

HttpResponseHead CTCPHttp::SendGet(const std::string& path, const std::string& hostHeader) {
  Connect();
  SendAll(BuildGetRequest(path, hostHeader));
  return ReadResponseHead();
}

HttpResponseHead CTCPHttp::Head(const std::string& hostHeader, const std::string& path) {
  Connect();
  SendAll(BuildHeadRequest(path, hostHeader));
  return ReadResponseHead();
}

std::string CTCPHttp::PostForm(const std::string& hostHeader, const std::string& path,
                               HttpForm& form) {
  form.PrepareBody();  // a form without fields is sent with an empty body
  Connect();
  SendAll(BuildPostFormRequest(path, hostHeader, form.ContentLength()));
  while (form.NextBodyChunk()) SendAll(form.Chunk());
  return ReadReplyBody(ReadResponseHead());
}

void CTCPHttp::SendAll(const std::string& buffer) {
  const SOCKET s = Socket();
  size_t sent = 0;
  while (sent < buffer.size()) {
    const int piece = static_cast<int>(std::min<size_t>(buffer.size() - sent, 0x7FFFFFFF));
    const int result = ::send(s, buffer.data() + sent, piece, 0);
    if (result == SOCKET_ERROR) Fail("socket send failed");
    if (result == 0) Fail("Server can't recv data");
    sent += static_cast<size_t>(result);
  }
}

void CTCPHttp::ReceiveExact(size_t count, char* buffer) {
  const SOCKET s = Socket();
  size_t received = 0;
  while (received < count) {
    const int piece = static_cast<int>(std::min<size_t>(count - received, 0x7FFFFFFF));
    const int result = ::recv(s, buffer + received, piece, 0);
    if (result == SOCKET_ERROR) Fail("socket recv failed");
    if (result == 0) Fail("Server can't send data");
    received += static_cast<size_t>(result);
  }
}

HttpResponseHead CTCPHttp::ReadResponseHead() {
  HttpHeadBuffer head;
  while (!head.Complete()) {
    char byte = 0;
    ReceiveExact(1, &byte);
    head.Feed(&byte, 1);
  }
  return ParseResponseHead(head.Text());
}

std::string CTCPHttp::ReadReplyBody(const HttpResponseHead& head) {
  switch (ChooseBodyFraming(head)) {
    case BodyFraming::ByLength:
      return ReadBody(head.contentLength);
    case BodyFraming::Chunked:
      return ReadChunkedBody();
    case BodyFraming::TooLarge:
      break;
  }
  Fail("Body too large");
}

std::string CTCPHttp::ReadBody(int64_t length) {
  if (length <= 0) return {};
  if (length > HTTP_BODY_LIMIT) Fail("Body too large");
  std::string body(static_cast<size_t>(length), '\0');
  ReceiveExact(body.size(), &body[0]);
  return body;
}

std::string CTCPHttp::ReadChunkedBody() {
  ChunkedBodyDecoder decoder;
  std::vector<char> buffer(CHUNK_RECEIVE_BYTES);
  while (!decoder.Finished()) {
    const size_t wanted = std::min(decoder.Wanted(), buffer.size());
    ReceiveExact(wanted, buffer.data());
    decoder.Feed(buffer.data(), wanted);
  }
  switch (decoder.GetState()) {
    case ChunkedBodyDecoder::State::Done:
      return decoder.Body();
    case ChunkedBodyDecoder::State::TooLarge:
      Fail("Body too large");
    default:
      Fail("Read body stream error");
  }
}
