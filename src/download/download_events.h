// The telemetry the download subsystem sends, and the raising address parser
// that the URL query and the workers share.
#pragma once

#include <cstdint>
#include <string>

#include "net/codec/url_parts.h"

class ILoggerServer;

namespace download_event {

// "error_type" values of "vSoftDownloadError".
constexpr char WORKER_ERROR[] = "下载线程出错";
constexpr char QUERY_ERROR[] = "获取下载信息线程出错";

// "error_status" values.
constexpr char BAD_ARGUMENTS[] = "参数错误";
constexpr char CREATE_WORKER_FAILED[] = "创建线程出错";
constexpr char CONNECT_FAILED[] = "连接错误";
constexpr char RETRIES_USED_UP[] = "重试超过最大次数";
constexpr char WRITE_FAILED[] = "写文件出错";
constexpr char INIT_FAILED[] = "初始化失败";
constexpr char NETWORK_FAILED[] = "网络失败";
constexpr char TOO_MANY_ATTEMPTS[] = "重试次数过多";
constexpr char NO_HEAD[] = "获取头信息失败";
constexpr char NO_PACKAGE_INFO[] = "获取包信息失败";

// "soft_download_status" values of "pSoftDownloadResult".
constexpr char DOWNLOADED[] = "下载成功";
constexpr char LOCAL_FILE[] = "存在本地文件";

}  // namespace download_event

// Each clears the logger's properties first; none raises.
void SendDownloadStart(ILoggerServer* logger) noexcept;
void SendDownloadError(ILoggerServer* logger, const char* type, const char* status) noexcept;
void SendDownloadResult(ILoggerServer* logger, const char* status, int32_t seconds) noexcept;

// ParseUrl, or the "初始化失败" event and the raised "init url failed".
UrlParts ParseUrlOrRaise(const std::string& address, ILoggerServer* logger);
