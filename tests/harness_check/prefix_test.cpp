// The test prefix behaves as the tests rely on: it reports Windows 10, maps no
// drive onto the host's root, replaces the Chinese UI fonts and hands URLs to
// the recorder instead of a browser.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? value : L"";
}

// A Linux path of the build folder as a Windows program can open it.
std::wstring HostPath(const std::wstring& unixPath) {
  std::wstring path = L"\\\\?\\unix" + unixPath;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(TestPrefix, ReportsWindows10) {
  using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  auto getVersion = reinterpret_cast<RtlGetNtVersionNumbersFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetNtVersionNumbers")));
  ASSERT_NE(getVersion, nullptr);
  DWORD major = 0, minor = 0, build = 0;
  getVersion(&major, &minor, &build);
  EXPECT_EQ(major, 10u);
  EXPECT_EQ(minor, 0u);
}

TEST(TestPrefix, HasNoDriveForTheHostRoot) {
  EXPECT_EQ(GetLogicalDrives() & (1u << ('Z' - 'A')), 0u);
  EXPECT_EQ(GetDriveTypeW(L"Z:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

TEST(TestPrefix, ReplacesChineseFontsForGdiPlus) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  wchar_t value[128] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  const LONG status = RegQueryValueExW(key, L"Microsoft YaHei", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  ASSERT_EQ(status, ERROR_SUCCESS);
  EXPECT_STREQ(value, L"WenQuanYi Micro Hei");
}

TEST(TestPrefix, HandsUrlsToTheRecorder) {
  const std::wstring log = Environment(L"TESSARO_URL_LOG");
  ASSERT_FALSE(log.empty());
  const std::string marker = "http://127.0.0.1:9/recorder-check-" + std::to_string(GetCurrentProcessId());
  const std::wstring url(marker.begin(), marker.end());

  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  EXPECT_GT(result, 32);

  // The hand-off is asynchronous: winebrowser starts the recorder on its own.
  bool recorded = false;
  for (int attempt = 0; attempt < 200 && !recorded; ++attempt) {
    recorded = ReadAll(HostPath(log)).find(marker) != std::string::npos;
    if (!recorded) Sleep(100);
  }
  EXPECT_TRUE(recorded) << "URL not in the recorder's log";
}

}  // namespace
