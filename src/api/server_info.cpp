#include "api/server_info_impl.h"

#include <stdexcept>

#include "app/global_settings.h"
#include "deployment.h"

namespace {

constexpr int ATTEMPTS = 3;
constexpr DWORD ATTEMPT_PAUSE_MS = 300;

bool MemberFlag(const Json::Value& data, const char* name) {
  if (!data.isMember(name)) return false;
  const Json::Value& value = data[name];
  if (value.isBool()) return value.asBool();
  if (value.isNumeric()) return value.asDouble() != 0;
  return false;
}

}  // namespace

ChannelReply ReadChannelReply(const std::string& body) {
  const Json::Value root = ParseReply(body);
  ChannelReply reply;
  if (!root.isObject() || !root.isMember("code")) return reply;
  const Json::Value& code = root["code"];
  if (!code.isString()) throw std::runtime_error("request error");
  if (code.asString() != "server.success" || !root.isMember("data")) return reply;
  const Json::Value& data = root["data"];
  if (!data.isObject()) return reply;
  reply.appId = MemberText(data, "appId");
  reply.appName = MemberText(data, "appName");
  reply.welcomeUrl = MemberText(data, "welcomeUrl");
  reply.advertisingAccountName = MemberText(data, "advertisingAccountName");
  reply.wantsReport = MemberFlag(data, "nequilOcpc");
  return reply;
}

std::string ChannelQueryPath(const std::string& channel) {
  return "/applicationService/channel/welcome?channel=" + channel;
}

CServerInfo::CServerInfo(std::string channel, std::string host) {
  worker_ = std::make_unique<CReadServerInfoThread>(*this, std::move(channel), std::move(host));
}

CServerInfo::~CServerInfo() { worker_.reset(); }

void CServerInfo::Publish(const ChannelReply& reply) {
  CXMutexLock guard(lock_);
  appId_ = reply.appId;
  appName_ = reply.appName;
  wantsReport_ = reply.wantsReport;
  welcomeUrl_ = reply.welcomeUrl;
  advertisingAccountName_ = reply.advertisingAccountName;
}

CReadServerInfoThread::CReadServerInfoThread(CServerInfo& info, std::string channel, std::string host)
    : info_(info), channel_(std::move(channel)), host_(std::move(host)) {
  ReleaseThread();
}

CReadServerInfoThread::~CReadServerInfoThread() { StopWorkerThread(); }

// Up to three attempts; a stop between them cancels the query.
std::string CReadServerInfoThread::Fetch() {
  for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
    if (attempt > 0 && !SleepUnlessStopped(ATTEMPT_PAUSE_MS)) throw std::runtime_error("user cancel");
    std::string body = GatewayGet(ChannelQueryPath(channel_), host_, &canceller_);
    if (!body.empty()) return body;
    if (IsStopRequested()) throw std::runtime_error("user cancel");
  }
  return {};
}

int CReadServerInfoThread::Run() {
  try {
    if (!channel_.empty()) info_.Publish(ReadChannelReply(Fetch()));
    info_.status_.store(QueryDone);
  } catch (...) {
    info_.status_.store(QueryFailed);
  }
  return 0;
}

IServerInfo* GetServerInfo() {
  // The channel is published before the startup first asks for this object.
  static const std::unique_ptr<CServerInfo> instance =
      std::make_unique<CServerInfo>(GlobalChannel(), deployment::GATEWAY_HOST);
  return instance.get();
}
