// The default browser's open command, read from registry records the test
// writes under a key of its own.
#include "browser/default_browser.h"

#include <gtest/gtest.h>

#include "registry_tree.h"
#include "sys/os_version.h"

namespace {

constexpr wchar_t kChoiceKey[] =
    L"user\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";

class DefaultBrowserRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tree_.valid()); }

  std::wstring Command(int osCode) {
    HKEY user = nullptr;
    HKEY classes = nullptr;
    ::RegCreateKeyExW(tree_.key(), L"user", 0, nullptr, 0, KEY_READ, nullptr, &user, nullptr);
    ::RegCreateKeyExW(tree_.key(), L"classes", 0, nullptr, 0, KEY_READ, nullptr, &classes, nullptr);
    const std::wstring command = DefaultBrowserCommand(osCode, BrowserRegistryRoots{user, classes});
    ::RegCloseKey(user);
    ::RegCloseKey(classes);
    return command;
  }

  RegistryTree tree_{HKEY_CURRENT_USER, L"Software\\" + UniqueTestName(L"TessaroBrowserTest-")};
};

TEST_F(DefaultBrowserRecordsTest, HttpChoiceLeadsToItsOpenCommand) {
  EXPECT_EQ(Command(OS_WINDOWS_10), L"") << "no choice recorded";

  ASSERT_TRUE(tree_.SetString(kChoiceKey, L"ProgId", L"TessaroTestHTML"));
  EXPECT_EQ(Command(OS_WINDOWS_10), L"") << "chosen class without a command";

  const std::wstring command = L"\"C:\\Program Files\\Test Browser\\browser.exe\" -- \"%1\"";
  ASSERT_TRUE(tree_.SetString(L"classes\\TessaroTestHTML\\shell\\open\\command", L"", command));
  ASSERT_TRUE(tree_.SetString(L"classes\\htmlfile\\shell\\open\\command", L"",
                              L"C:\\xp\\iexplore.exe -nohome"));
  EXPECT_EQ(Command(OS_WINDOWS_10), command);
  EXPECT_EQ(Command(OS_WINDOWS_7), command);
  EXPECT_EQ(Command(OS_WINDOWS_XP), L"C:\\xp\\iexplore.exe -nohome");

  std::wstring path;
  ASSERT_TRUE(BrowserPathOfCommand(Command(OS_WINDOWS_10), path));
  EXPECT_EQ(path, L"C:\\Program Files\\Test Browser\\browser.exe");
}

TEST_F(DefaultBrowserRecordsTest, WindowsXpReadsOnlyTheHtmlFileCommand) {
  ASSERT_TRUE(tree_.SetString(kChoiceKey, L"ProgId", L"TessaroTestHTML"));
  ASSERT_TRUE(tree_.SetString(L"classes\\TessaroTestHTML\\shell\\open\\command", L"",
                              L"C:\\b\\browser.exe %1"));
  EXPECT_EQ(Command(OS_WINDOWS_XP), L"");
}

}  // namespace
