// IBrowserProbe over the running system: process list, process queries and
// the uninstall list. Keeps no state; safe from any thread.
#pragma once

#include "browser/browser_choice.h"

class SystemBrowserProbe final : public IBrowserProbe {
 public:
  bool OwnImagePath(std::wstring& path) override;
  bool UninstallLocation(const std::wstring& uninstallName, std::wstring& folder) override;
  // In ascending process-id order.
  bool RunningBrowsers(std::vector<RunningBrowser>& found) override;
  bool ImagePathOf(DWORD processId, std::wstring& path) override;
};
