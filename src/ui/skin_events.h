// Telemetry values of the skin manager's events (UTF-8).
#pragma once

// "resource_status" of "vResourceStatus".
constexpr char SKIN_STATUS_CREATED[] = "创建资源成功";
constexpr char SKIN_STATUS_FAILED[] = "创建资源失败";

// "error_status" of "vResourceError".
constexpr char SKIN_ERROR_NOT_FOUND[] = "获取指定资源失败";
constexpr char SKIN_ERROR_UNPACK[] = "资源解压失败";
constexpr char SKIN_ERROR_NO_WORK_FOLDER[] = "创建缓存路径失败";
