#include "peer_support.h"

#include "api/gateway.h"
#include "deployment.h"
#include "net/net_test_support.h"
#include "net/tcp_http.h"

std::string CdnUrl(const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(deployment::CDN_PORT) + path;
}

std::string MirrorUrl(const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(DriverPort("TESSARO_MIRROR_PORT")) + path;
}

std::string FaultUrl(const std::string& options, const std::string& name) {
  return "http://127.0.0.1:" + std::to_string(DriverPort("TESSARO_FAULT_PORT")) + "/pkg/" + options + "/" + name;
}

Json::Value FaultLog(const std::string& key) {
  try {
    return ParseReply(PeerGet(DriverPort("TESSARO_FAULT_PORT"), "/log/" + key));
  } catch (const std::exception&) {
    return Json::Value();
  }
}

std::vector<std::string> FaultRanges(const std::string& key) {
  std::vector<std::string> ranges;
  const Json::Value log = FaultLog(key);
  for (const Json::Value& request : log["requests"]) {
    if (request["method"].asString() == "GET") ranges.push_back(request["range"].asString());
  }
  return ranges;
}

std::string PeerGet(uint16_t port, const std::string& path) {
  try {
    CTCPHttp client("127.0.0.1", port);
    client.SetRecvTimeout(5000);
    client.SetSendTimeout(5000);
    return client.Get(path, "127.0.0.1");
  } catch (const std::exception&) {
    return std::string();
  }
}

uint16_t ReportServicePort() { return deployment::REPORT_PORT; }
