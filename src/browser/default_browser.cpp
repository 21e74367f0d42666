#include "browser/default_browser.h"

#include <vector>

#include "sys/os_version.h"
#include "sys/registry_query.h"
#include "sys/text_util.h"

namespace {

constexpr wchar_t kHttpChoiceKey[] =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
constexpr wchar_t kXpHtmlCommandKey[] = L"htmlfile\\shell\\open\\command";
constexpr wchar_t kOpenCommandSuffix[] = L"\\shell\\open\\command";
// The unnamed value of a key.
constexpr wchar_t kDefaultValue[] = L"";

RegistryView BrowserRegistryView() {
  return Is64BitWindows() ? RegistryView::Native64 : RegistryView::Default;
}

// Joins the pieces of a quoted path that the split at spaces cut apart, up to
// the piece that closes the quote.
std::wstring JoinQuotedPath(const std::vector<std::wstring>& pieces) {
  std::wstring joined;
  for (const std::wstring& piece : pieces) {
    if (!joined.empty()) joined += L' ';
    joined += piece;
    if (piece.back() == L'"') break;
  }
  return TrimRightWide(TrimLeftWide(joined, L"\""), L"\"");
}

}  // namespace

std::wstring DefaultBrowserCommand(int osCode, const BrowserRegistryRoots& roots) {
  const RegistryView view = BrowserRegistryView();
  if (osCode == OS_WINDOWS_XP) {
    return ReadRegistryString(roots.classes, kXpHtmlCommandKey, kDefaultValue, view);
  }
  const std::wstring progId = ReadRegistryString(roots.user, kHttpChoiceKey, L"ProgId", view);
  if (progId.empty()) return std::wstring();
  return ReadRegistryString(roots.classes, progId + kOpenCommandSuffix, kDefaultValue, view);
}

bool BrowserPathOfCommand(const std::wstring& command, std::wstring& path) {
  const std::vector<std::wstring> pieces = SplitWide(command, L" ");
  if (pieces.empty()) return false;
  path = pieces.front().front() == L'"' ? JoinQuotedPath(pieces) : pieces.front();
  return true;
}

bool GetDefaultBrowserPath(std::wstring& path) {
  const BrowserRegistryRoots roots{HKEY_CURRENT_USER, HKEY_CLASSES_ROOT};
  return BrowserPathOfCommand(DefaultBrowserCommand(GetOsVersionCode(), roots), path);
}
