// The peers download_peers_test.py starts: nginx as the CDN (with a mirror
// address), the fault-injecting package server and the report service.
#pragma once

#include <json/value.h>

#include <cstdint>
#include <string>
#include <vector>

// http://127.0.0.1:<cdn port><path>, and the same on the mirror's port.
std::string CdnUrl(const std::string& path);
std::string MirrorUrl(const std::string& path);

// A package of the fault server with the given options ("-" for none).
std::string FaultUrl(const std::string& options, const std::string& name = "setup.exe");

// The fault server's log of one key: {"requests": [{"method", "range"}], "body_bytes"}.
Json::Value FaultLog(const std::string& key);

// The GET ranges the fault server saw for one key, in arrival order.
std::vector<std::string> FaultRanges(const std::string& key);

// GET of path at 127.0.0.1:port; the body of a 200 reply, else empty.
std::string PeerGet(uint16_t port, const std::string& path);

uint16_t ReportServicePort();
