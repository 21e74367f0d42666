// Apart from open_url.cpp so that programs passing their own logger do not
// link the SDK loader behind GetLoggerServer.
#include "browser/open_url.h"
#include "telemetry/logger_server.h"

int32_t OpenUrlInBrowser(const wchar_t* url, const wchar_t* preferredBrowser) {
  return OpenUrlInBrowser(url, preferredBrowser, *GetLoggerServer());
}
