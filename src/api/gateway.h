// Requests to the maker's API gateway: one plain HTTP GET per attempt, and the
// JSON reply envelope {"code": "server.success", "data": {...}}.
#pragma once

#include <json/value.h>

#include <string>

#include "sys/xmutex.h"

class CTCPHttp;

// Lets a worker's stopping thread abort the request the worker is waiting on.
// The worker registers its client for the length of a request; Abort() makes
// that request (and any later one) fail at once.
class RequestCanceller {
 public:
  void Abort();
  bool IsAborted();

 private:
  friend class ActiveRequest;
  CXMutex lock_;
  CTCPHttp* client_ = nullptr;
  bool aborted_ = false;
};

// GET of path on host at the gateway port, with 5000 ms receive and send
// time-outs; the reply body, or empty for any failure (an empty body is how
// every transport failure shows). canceller may be null.
std::string GatewayGet(const std::string& path, const std::string& host, RequestCanceller* canceller);

// The body as JSON; raises "parse decrypt data error" when it is not a
// JSON document (an empty body included).
Json::Value ParseReply(const std::string& body);

// The "data" member of a strict envelope: raises "member not exist" when
// "code" or "data" is missing and "request error" when the code is not
// "server.success".
const Json::Value& StrictReplyData(const Json::Value& reply);

// A member of data as text: a string as it is, a number as its decimal text;
// empty when absent or of another type.
std::string MemberText(const Json::Value& data, const char* name);
