#include "pages/welcome_url.h"


#include "sys/md5.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"

std::wstring WithQuerySeparator(const std::wstring& url) {
  const size_t question = url.find(L'?');
  if (question == std::wstring::npos) return url + L"?";
  const size_t last = url.size() - 1;
  const size_t ampersand = url.find(L'&');
  // Only the first "?" and the first "&" are looked at: a query ending in
  // "?" or whose first "&" ends the address is ready for the next key.
  if (question != last && (ampersand == std::wstring::npos || ampersand != last)) return url + L"&";
  return url;
}

std::string UrlEncode(const std::string& utf8) {
  static const char HEX[] = "0123456789ABCDEF";
  static const std::string KEPT = "-_.!~*'()";
  std::string encoded;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == ' ') {
      encoded += '+';
    } else if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
               (byte >= '0' && byte <= '9') || KEPT.find(c) != std::string::npos) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += HEX[byte >> 4];
      encoded += HEX[byte & 0x0F];
    }
  }
  return encoded;
}

WelcomeAddress BuildWelcomeAddress(const WelcomeInputs& inputs) {
  WelcomeAddress address;
  address.fromServer = !inputs.serverWelcomeUrl.empty();
  std::wstring url = Utf8ToWide(address.fromServer ? inputs.serverWelcomeUrl : inputs.siteRoot);
  url = WithQuerySeparator(url);
  url += L"_channel=" + Utf8ToWide(inputs.channel);
  url += L"&_mid=" + Utf8ToWide(inputs.machineId);
  url += L"&cam=" + Utf8ToWide(inputs.cam);
  url += L"&app_version=" + Utf8ToWide(inputs.appVersion);
  url += L"&time_stamp=" + Utf8ToWide(FormatInt64(inputs.timeStamp));

  const std::string hashed = WideToUtf8(url);
  address.sessionId = Md5HexOfData(hashed.data(), static_cast<int64_t>(hashed.size()));
  url += L"&session_id=" + Utf8ToWide(address.sessionId);

  if (address.fromServer) {
    url += L"&ad_account=" + Utf8ToWide(inputs.adAccount);
    url += L"&def_welcom_url=" + Utf8ToWide(UrlEncode(inputs.siteRoot));
  }
  address.url = url;
  return address;
}
