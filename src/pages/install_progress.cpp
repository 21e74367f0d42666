#include "pages/install_progress.h"

#include <algorithm>

namespace {

constexpr uint32_t DOWNLOAD_SHARE = 80;
constexpr uint32_t MAX_INSTALL_SECONDS = 19;

}  // namespace

std::wstring BuildSetupCommandLine(const std::wstring& packagePath, JoinPlan joinPlan,
                                   const std::wstring& installPath) {
  std::wstring line = L"\"" + packagePath + L"\" /SILENT /VERYSILENT /SP- /noicons ";
  if (joinPlan == JoinPlan::Declined) line += L"-noexperience ";
  line += L"-nowelcome ";
  line += L"/DIR=\"" + installPath + L"\"";
  return line;
}

uint32_t ProgressPercent(InstallPhase phase, int32_t downloadPercent, uint32_t installElapsedMs) {
  switch (phase) {
    case InstallPhase::Downloading: {
      const int32_t clamped = std::clamp(downloadPercent, 0, 100);
      return static_cast<uint32_t>(clamped) * DOWNLOAD_SHARE / 100;
    }
    case InstallPhase::Installing:
      return DOWNLOAD_SHARE + std::min(installElapsedMs / 1000, MAX_INSTALL_SECONDS);
    case InstallPhase::Done:
      return 100;
    case InstallPhase::Idle:
      break;
  }
  return 0;
}

std::wstring ProgressStatusText(uint32_t percent) {
  return L"正在安装，请不要关闭：" + std::to_wstring(percent) + L"%";
}

std::string InstallErrorStatus(uint32_t exitCode) { return std::to_string(exitCode); }

std::string StartErrorStatus(uint32_t windowsError) {
  return "start failed: " + std::to_string(windowsError);
}
