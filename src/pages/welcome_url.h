// The welcome page address the finished page opens, and the values the
// hand-off file records with it. Pure functions.
#pragma once

#include <cstdint>
#include <string>

// Appends the query separator the address needs before the installer's
// keys: "?" when it has no query yet, "&" when its query is non-empty and
// does not already end in "&", nothing when it ends in "?" or "&".
std::wstring WithQuerySeparator(const std::wstring& url);

// Form-style URL encoding of UTF-8 bytes: a space becomes "+", letters,
// digits and -_.!~*'() stay, every other byte becomes %XX (upper-case hex).
std::string UrlEncode(const std::string& utf8);

struct WelcomeInputs {
  std::string serverWelcomeUrl;  // the channel's welcome page (UTF-8), may be empty
  std::string siteRoot;          // the product web site root (UTF-8)
  std::string channel;
  std::string machineId;         // the telemetry machine id
  std::string cam;               // MD5 of the machine identity
  std::string appVersion;        // the newest package version, may be empty
  int64_t timeStamp = 0;         // seconds since 1970
  std::string adAccount;         // the channel's advertising account name
};

struct WelcomeAddress {
  std::wstring url;
  bool fromServer = false;  // the channel gave the base ("is_sem" 1)
  std::string sessionId;    // MD5 of the UTF-8 address up to its session key
};

// The channel's page, or the site root when it gave none, then the separator
// and _channel, _mid, cam, app_version, time_stamp and session_id; a page
// from the channel also gets ad_account and the encoded site root as
// def_welcom_url. Values are appended as they are.
WelcomeAddress BuildWelcomeAddress(const WelcomeInputs& inputs);
