#include "browser/system_browser_probe.h"

#include <map>

#include "browser/browser_names.h"
#include "sys/process_query.h"
#include "sys/process_table.h"
#include "sys/registry_query.h"

namespace {

ProcessActivity ActivityOf(DWORD processId) {
  bool suspended = false;
  if (!IsProcessSuspended(processId, suspended)) return ProcessActivity::Unknown;
  return suspended ? ProcessActivity::Suspended : ProcessActivity::Running;
}

std::optional<int64_t> StartTimeOf(DWORD processId) {
  int64_t started = 0;
  if (!GetProcessStartTime(processId, started)) return std::nullopt;
  return started;
}

}  // namespace

bool SystemBrowserProbe::OwnImagePath(std::wstring& path) {
  return GetProcessImagePath(::GetCurrentProcessId(), path);
}

bool SystemBrowserProbe::UninstallLocation(const std::wstring& uninstallName,
                                           std::wstring& folder) {
  return FindUninstallLocation(uninstallName, folder);
}

bool SystemBrowserProbe::RunningBrowsers(std::vector<RunningBrowser>& found) {
  std::map<DWORD, std::wstring> processes;
  if (!CollectBrowserProcesses(IsKnownBrowser, processes)) return false;
  for (const auto& [id, imageName] : processes) {
    // A process that ended since the snapshot fails its queries and is
    // left out by the decision.
    found.push_back(RunningBrowser{id, imageName, ActivityOf(id), StartTimeOf(id)});
  }
  return true;
}

bool SystemBrowserProbe::ImagePathOf(DWORD processId, std::wstring& path) {
  return GetProcessImagePath(processId, path);
}
