#include "app/startup_rules.h"

#include <vector>

#include "sys/path_pieces.h"
#include "sys/text_util.h"

namespace {

constexpr size_t MAX_CHANNEL_BYTES = 8;

}  // namespace

std::string PackageNameFromPath(const std::string& installerPath) {
  const size_t slash = installerPath.rfind('\\');
  std::string fileName = slash == std::string::npos ? installerPath : installerPath.substr(slash + 1);
  return fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

std::string ChannelFromPackageName(const std::string& packageName) {
  const size_t underscore = packageName.find('_');
  if (underscore == std::string::npos || underscore + 1 >= packageName.size()) return {};
  size_t start = underscore + 1;
  if (packageName[start] == 'U') ++start;
  return packageName.substr(start, MAX_CHANNEL_BYTES);
}

std::string ChannelFromProductVersion(const std::wstring& productVersion, const std::string& fileChannel) {
  const std::vector<std::wstring> pieces = SplitWide(productVersion, L".");
  if (pieces.size() != 4) return fileChannel;
  const std::string second(pieces[1].begin(), pieces[1].end());
  switch (ParseInt64(second)) {
    case 96: return "rozorir0";
    case 97: return "ruva3600";
    case 98: return "dizorar0";
    case 99: return "reveza00";
    default: return fileChannel;
  }
}

int64_t DownloadDuration(int64_t creationSeconds, int64_t lastWriteSeconds) {
  return lastWriteSeconds > creationSeconds ? lastWriteSeconds - creationSeconds : 0;
}

bool InstalledIsNotOlder(const std::string& newestVersion, const std::string& installedVersion) {
  const std::vector<std::string> newest = SplitNarrow(newestVersion, ".");
  const std::vector<std::string> installed = SplitNarrow(installedVersion, ".");
  const size_t common = newest.size() < installed.size() ? newest.size() : installed.size();
  for (size_t i = 0; i < common; ++i) {
    const int64_t newer = ParseInt64(newest[i]);
    const int64_t current = ParseInt64(installed[i]);
    if (newer != current) return newer < current;
  }
  return true;
}

std::wstring ChooseInstallRoot(const std::wstring& programFiles, uint64_t programFilesFree,
                               const std::wstring& roomiest, uint64_t roomiestFree, uint64_t required) {
  if (!programFiles.empty() && programFilesFree > required) return programFiles;
  if (!roomiest.empty() && roomiestFree > required) return roomiest;
  return {};
}

std::wstring InstallPathUnder(const std::wstring& root) {
  return WithTrailingSeparator(WithTrailingSeparator(root) + L"Orvane") + L"Tessaro";
}
