// The HTTP proxy the user configured for the system, as WinHTTP reports it
// from the current user's Internet settings.
#pragma once

#include <string>

#include "net/net_settings.h"

// The proxy for `url` (narrow text in the system code page, "http://" and a
// host): type ProxyHttp with host and port when the user's settings name an
// HTTP proxy for it, ProxyNone otherwise. An automatic configuration script
// wins over a fixed proxy list. Every failure (no WinHTTP, no settings, a
// script that cannot be run) gives ProxyNone. Blocks while a script is
// fetched and run; safe from any thread.
ProxySetting DetectSystemProxy(const std::string& url);
