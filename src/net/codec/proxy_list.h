// Reading the user's proxy list ("http=p1:8080;https=p2:8443" or "p3:80").
#pragma once

#include <string>

#include "net/net_settings.h"

// Entries are separated by ";" (empty ones dropped). In each, the scheme is
// the text before the first "=" (empty without one); the host runs from
// after that "=" (or the entry's start) to the first ":"; the port is the
// decimal number at the start of the text after the entry's first ":" - or,
// without a ":", at the start of the entry itself, which is normally 0 -
// kept to 16 bits. Entries with an empty host, and entries for any scheme
// other than exactly "http" or none, are skipped. The last accepted entry
// gives type ProxyHttp with its host and port; without one the result is
// ProxyNone with empty host and port 0.
ProxySetting ParseProxyList(const std::string& list);
