#include "api/gateway.h"

#include <json/reader.h>

#include <memory>
#include <stdexcept>

#include "deployment.h"
#include "net/tcp_http.h"

namespace {

constexpr int32_t GATEWAY_TIMEOUT_MS = 5000;

}  // namespace

// Registers a client with a canceller for the length of one request.
class ActiveRequest {
 public:
  ActiveRequest(RequestCanceller* canceller, CTCPHttp* client) : canceller_(canceller) {
    if (!canceller_) return;
    CXMutexLock guard(canceller_->lock_);
    if (canceller_->aborted_) client->Abort();
    canceller_->client_ = client;
  }
  ~ActiveRequest() {
    if (!canceller_) return;
    CXMutexLock guard(canceller_->lock_);
    canceller_->client_ = nullptr;
  }
  ActiveRequest(const ActiveRequest&) = delete;
  ActiveRequest& operator=(const ActiveRequest&) = delete;

 private:
  RequestCanceller* canceller_;
};

void RequestCanceller::Abort() {
  CXMutexLock guard(lock_);
  aborted_ = true;
  if (client_) client_->Abort();
}

bool RequestCanceller::IsAborted() {
  CXMutexLock guard(lock_);
  return aborted_;
}

std::string GatewayGet(const std::string& path, const std::string& host, RequestCanceller* canceller) {
  try {
    if (canceller && canceller->IsAborted()) return {};
    CTCPHttp client(host, deployment::GATEWAY_PORT);
    ActiveRequest active(canceller, &client);
    client.SetRecvTimeout(GATEWAY_TIMEOUT_MS);
    client.SetSendTimeout(GATEWAY_TIMEOUT_MS);
    std::string body = client.Get(path, host);
    client.Close();
    return body;
  } catch (...) {
    return {};
  }
}

Json::Value ParseReply(const std::string& body) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (body.empty() || !reader->parse(body.data(), body.data() + body.size(), &root, &errors))
    throw std::runtime_error("parse decrypt data error");
  return root;
}

const Json::Value& StrictReplyData(const Json::Value& reply) {
  if (!reply.isObject() || !reply.isMember("code") || !reply.isMember("data"))
    throw std::runtime_error("member not exist");
  const Json::Value& code = reply["code"];
  if (!code.isString() || code.asString() != "server.success") throw std::runtime_error("request error");
  return reply["data"];
}

std::string MemberText(const Json::Value& data, const char* name) {
  if (!data.isObject() || !data.isMember(name)) return {};
  const Json::Value& value = data[name];
  if (value.isString()) return value.asString();
  if (value.isInt64()) return std::to_string(value.asInt64());
  if (value.isUInt64()) return std::to_string(value.asUInt64());
  if (value.isDouble()) return std::to_string(static_cast<long long>(value.asDouble()));
  return {};
}
