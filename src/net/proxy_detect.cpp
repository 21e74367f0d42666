#include "net/proxy_detect.h"

#include <windows.h>
#include <winhttp.h>

#include "net/codec/proxy_list.h"
#include "sys/system_library.h"
#include "sys/text_convert.h"

namespace {

// WinHTTP is loaded at run time: it is not among the libraries the
// executable may import.
template <typename F>
F WinHttp(const char* name) {
  return SystemFunctionAs<F>(L"winhttp.dll", name);
}

// Frees strings that WinHTTP allocated for its caller.
void FreeWinHttpText(LPWSTR text) {
  if (text != nullptr) ::GlobalFree(text);
}

// Owns the three strings of the user's Internet settings.
struct IeProxyConfig {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG value = {};
  IeProxyConfig() = default;
  IeProxyConfig(const IeProxyConfig&) = delete;
  IeProxyConfig& operator=(const IeProxyConfig&) = delete;
  ~IeProxyConfig() {
    FreeWinHttpText(value.lpszAutoConfigUrl);
    FreeWinHttpText(value.lpszProxy);
    FreeWinHttpText(value.lpszProxyBypass);
  }
};

// Owns the two strings of a proxy answer.
struct ProxyInfo {
  WINHTTP_PROXY_INFO value = {};
  ProxyInfo() = default;
  ProxyInfo(const ProxyInfo&) = delete;
  ProxyInfo& operator=(const ProxyInfo&) = delete;
  ~ProxyInfo() {
    FreeWinHttpText(value.lpszProxy);
    FreeWinHttpText(value.lpszProxyBypass);
  }
};

bool HasText(const wchar_t* text) { return text != nullptr && *text != L'\0'; }

// Runs the automatic configuration script at `scriptUrl` for `url`.
ProxySetting ProxyFromScript(const std::string& url, const wchar_t* scriptUrl) {
  const auto open = WinHttp<decltype(&::WinHttpOpen)>("WinHttpOpen");
  const auto getProxyForUrl = WinHttp<decltype(&::WinHttpGetProxyForUrl)>("WinHttpGetProxyForUrl");
  const auto closeHandle = WinHttp<decltype(&::WinHttpCloseHandle)>("WinHttpCloseHandle");
  if (open == nullptr || getProxyForUrl == nullptr || closeHandle == nullptr) return {};

  HINTERNET session = open(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
  if (session == nullptr) return {};
  WINHTTP_AUTOPROXY_OPTIONS options = {};
  options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
  options.lpszAutoConfigUrl = scriptUrl;
  options.fAutoLogonIfChallenged = TRUE;
  ProxyInfo answer;
  const std::wstring wideUrl = AnsiToWide(url);
  // A failed call leaves the answer zeroed, whose access type is no named proxy.
  getProxyForUrl(session, wideUrl.c_str(), &options, &answer.value);
  closeHandle(session);

  if (answer.value.dwAccessType != WINHTTP_ACCESS_TYPE_NAMED_PROXY) return {};
  if (answer.value.lpszProxy == nullptr) return {};
  return ParseProxyList(WideToUtf8(answer.value.lpszProxy));
}

}  // namespace

ProxySetting DetectSystemProxy(const std::string& url) {
  const auto getUserConfig = WinHttp<decltype(&::WinHttpGetIEProxyConfigForCurrentUser)>(
      "WinHttpGetIEProxyConfigForCurrentUser");
  if (getUserConfig == nullptr) return {};
  IeProxyConfig config;
  // The result is not examined: a failed call leaves every field empty.
  getUserConfig(&config.value);
  if (HasText(config.value.lpszAutoConfigUrl)) {
    return ProxyFromScript(url, config.value.lpszAutoConfigUrl);
  }
  if (HasText(config.value.lpszProxy)) return ParseProxyList(WideToUtf8(config.value.lpszProxy));
  return {};
}
