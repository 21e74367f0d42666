// Operating system version, processes, the process table and the registry.
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "stub_runner.h"
#include "support/temp_folder.h"
#include "sys/app_info.h"
#include "sys/os_version.h"
#include "sys/process_query.h"
#include "sys/process_table.h"
#include "sys/registry_query.h"
#include "sys/text_util.h"

namespace {

// Never a process id: ids are multiples of four.
constexpr DWORD kNoSuchProcess = 0xFFFFFFF1u;

std::wstring UniqueName(const wchar_t* prefix) {
  static int counter = 0;
  return prefix + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(++counter);
}

std::wstring FileNamePart(const std::wstring& path) {
  return path.substr(path.find_last_of(L"\\/") + 1);
}

// ---- operating system ----------------------------------------------------

TEST(OsVersionTest, CodeForEachReportedVersion) {
  struct Case {
    ReportedVersion reported;
    DWORD trueMajor;
    int expected;
  };
  const Case cases[] = {
      {{5, 1, 0}, 5, OS_WINDOWS_XP},    {{5, 1, 3}, 5, OS_WINDOWS_XP},
      {{5, 2, 0}, 5, OS_OTHER},         {{5, 0, 0}, 5, OS_OTHER},
      {{6, 0, 2}, 6, OS_WINDOWS_VISTA}, {{6, 1, 0}, 6, OS_WINDOWS_7},
      {{6, 1, 1}, 6, OS_WINDOWS_7_SP1}, {{6, 1, 2}, 6, OS_WINDOWS_7_SP1},
      {{6, 2, 0}, 6, OS_WINDOWS_8},     {{6, 3, 0}, 6, OS_WINDOWS_8},
      {{6, 2, 0}, 10, OS_WINDOWS_10},   {{6, 3, 0}, 10, OS_WINDOWS_10},
      {{6, 2, 0}, 0, OS_WINDOWS_8},     {{10, 0, 0}, 10, OS_OTHER},
      {{4, 0, 6}, 4, OS_OTHER},
  };
  for (const Case& c : cases) {
    int asked = 0;
    const int code = OsVersionCodeFor(c.reported, [&] {
      ++asked;
      return c.trueMajor;
    });
    EXPECT_EQ(code, c.expected) << c.reported.major << "." << c.reported.minor << " sp"
                                << c.reported.servicePackMajor << " true " << c.trueMajor;
    const bool needsTrueVersion = c.reported.major == 6 && c.reported.minor >= 2;
    EXPECT_EQ(asked, needsTrueVersion ? 1 : 0);
  }
}

// The test prefix is Windows 10, which tells a program without a
// compatibility manifest that it is 6.2.
TEST(OsVersionTest, TestPrefixIsWindows10) {
  DWORD major = 77, minor = 77, build = 77;
  GetNtVersionNumbers(major, minor, build);
  EXPECT_EQ(major, 10u);
  EXPECT_EQ(minor, 0u);
  EXPECT_EQ(GetOsVersionCode(), OS_WINDOWS_10);
  EXPECT_EQ(GetOsVersionCode(), OS_WINDOWS_10);
}

TEST(OsVersionTest, SixtyFourBitWindowsMatchesWow64Environment) {
  // WOW64 gives 32-bit programs this variable; a 32-bit Windows does not.
  const bool wow64 = std::getenv("PROCESSOR_ARCHITEW6432") != nullptr;
  EXPECT_EQ(Is64BitWindows(), wow64);
}

// ---- processes -------------------------------------------------------------

// A copy of query_stub.exe under a name of its own, started suspended.
class ChildProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    imageName_ = UniqueName(L"qstub-") + L".exe";
    stub_ = folder_ / imageName_;
    ASSERT_TRUE(::CopyFileW(BuiltStubPath().c_str(), stub_.c_str(), FALSE));
    startedFrom_ = NowUnixSeconds();
    child_ = StartChild(stub_, L"version nothing", StartMode::Suspended);
    startedTo_ = NowUnixSeconds();
    ASSERT_TRUE(child_.process.valid());
  }
  void TearDown() override { EndChild(child_); }

  TempFolder folder_;
  std::wstring imageName_;
  std::wstring stub_;
  StartedChild child_;
  int64_t startedFrom_ = 0;
  int64_t startedTo_ = 0;
};

TEST_F(ChildProcessTest, ParentImagePathAndStartTimeOfAChild) {
  DWORD parent = 0;
  ASSERT_TRUE(GetParentProcessId(child_.processId, parent));
  EXPECT_EQ(parent, ::GetCurrentProcessId());

  std::wstring image;
  ASSERT_TRUE(GetProcessImagePath(child_.processId, image));
  EXPECT_TRUE(SamePathText(image, stub_)) << image;

  int64_t started = 0;
  ASSERT_TRUE(GetProcessStartTime(child_.processId, started));
  EXPECT_GE(started, startedFrom_ - 2);
  EXPECT_LE(started, startedTo_ + 2);
}

TEST_F(ChildProcessTest, CollectsProcessesWhoseNamePasses) {
  std::vector<std::wstring> seen;
  std::map<DWORD, std::wstring> found;
  const auto isStub = [&](const std::wstring& name) {
    seen.push_back(name);
    return name == imageName_;
  };
  ASSERT_TRUE(CollectBrowserProcesses(isStub, found));
  EXPECT_EQ(found, (std::map<DWORD, std::wstring>{{child_.processId, imageName_}}));
  EXPECT_GT(seen.size(), 1u);

  std::map<DWORD, std::wstring> kept = {{child_.processId, L"first.exe"}};
  ASSERT_TRUE(CollectBrowserProcesses(isStub, kept));
  EXPECT_EQ(kept[child_.processId], L"first.exe");
}

TEST_F(ChildProcessTest, ProcessTableFindsTheChildAndThisProcess) {
  bool suspended = true;
  EXPECT_TRUE(IsProcessSuspended(::GetCurrentProcessId(), suspended));
  EXPECT_FALSE(suspended);
  // Wine reports no thread states, so only the finding is checked here; the
  // rule itself is tested on synthetic tables below.
  EXPECT_TRUE(IsProcessSuspended(child_.processId, suspended));
}

TEST(ProcessQueryTest, ChildReportsThisProgramAsItsParent) {
  TempFolder folder;
  const std::wstring stub = folder / L"parent_stub.exe";
  ASSERT_TRUE(::CopyFileW(BuiltStubPath().c_str(), stub.c_str(), FALSE));
  ASSERT_EQ(RunChild(stub, L"parent \"" + (folder / L"parent.txt") + L"\""), 0);

  wchar_t self[MAX_PATH * 4] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  const std::wstring reported = ReadUtf8File(folder / L"parent.txt");
  EXPECT_TRUE(SamePathText(FileNamePart(reported), FileNamePart(self))) << reported;
  std::wstring ownImage;
  ASSERT_TRUE(GetProcessImagePath(::GetCurrentProcessId(), ownImage));
  EXPECT_EQ(reported, ownImage);
}

TEST(ProcessQueryTest, UnknownProcessIdsFailAndLeaveOutputsAlone) {
  DWORD parent = 1234;
  EXPECT_FALSE(GetParentProcessId(kNoSuchProcess, parent));
  EXPECT_EQ(parent, 1234u);
  std::wstring image = L"unchanged";
  EXPECT_FALSE(GetProcessImagePath(kNoSuchProcess, image));
  int64_t started = 42;
  EXPECT_FALSE(GetProcessStartTime(kNoSuchProcess, started));
  EXPECT_EQ(started, 42);
  for (bool flag : {true, false}) {
    bool suspended = flag;
    EXPECT_FALSE(IsProcessSuspended(kNoSuchProcess, suspended));
    EXPECT_EQ(suspended, flag);
  }
}

// ---- process table rule on synthetic tables -------------------------------

struct FakeThread {
  ULONG state;
  ULONG waitReason;
};

// Builds a table in the system's layout, using the system headers' records.
class FakeProcessTable {
 public:
  FakeProcessTable& Add(DWORD processId, const std::vector<FakeThread>& threads) {
    const size_t entrySize =
        sizeof(SYSTEM_PROCESS_INFORMATION) + threads.size() * sizeof(SYSTEM_THREAD_INFORMATION);
    if (last_ != npos) SetNext(last_, static_cast<ULONG>(bytes_.size() - last_));
    last_ = bytes_.size();
    bytes_.resize(bytes_.size() + entrySize, 0);
    SYSTEM_PROCESS_INFORMATION process{};
    process.NumberOfThreads = static_cast<ULONG>(threads.size());
    process.UniqueProcessId = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(processId));
    std::memcpy(&bytes_[last_], &process, sizeof(process));
    size_t at = last_ + sizeof(process);
    for (const FakeThread& fake : threads) {
      SYSTEM_THREAD_INFORMATION thread{};
      thread.ThreadState = fake.state;
      thread.WaitReason = fake.waitReason;
      std::memcpy(&bytes_[at], &thread, sizeof(thread));
      at += sizeof(thread);
    }
    return *this;
  }
  // Points the last entry's next-entry offset somewhere else.
  void SetLastNext(ULONG offset) { SetNext(last_, offset); }

  const unsigned char* data() const { return bytes_.data(); }
  size_t size() const { return bytes_.size(); }

 private:
  static constexpr size_t npos = static_cast<size_t>(-1);
  void SetNext(size_t entry, ULONG offset) { std::memcpy(&bytes_[entry], &offset, sizeof(offset)); }
  std::vector<unsigned char> bytes_;
  size_t last_ = npos;
};

constexpr ULONG kRunning = 2;
constexpr ULONG kWaiting = 5;
constexpr ULONG kSuspendedReason = 5;
constexpr ULONG kUserRequest = 6;

TEST(ProcessTableTest, SuspendedWhenTheFirstThreadWaitsForResumption) {
  FakeProcessTable table;
  table.Add(0, {})
      .Add(4, {{kRunning, 0}})
      .Add(8, {{kWaiting, kSuspendedReason}})
      .Add(12, {{kWaiting, kUserRequest}})
      .Add(16, {{kRunning, kSuspendedReason}})
      .Add(20, {{kRunning, 0}, {kWaiting, kSuspendedReason}})
      .Add(24, {{kWaiting, kSuspendedReason}, {kRunning, 0}})
      .Add(28, {});
  struct Case {
    DWORD processId;
    TableLookup expected;
  };
  const Case cases[] = {
      {4, TableLookup::Running},  {8, TableLookup::Suspended}, {12, TableLookup::Running},
      {16, TableLookup::Running}, {20, TableLookup::Running},  {24, TableLookup::Suspended},
      {28, TableLookup::Running}, {0, TableLookup::Running},   {32, TableLookup::NotFound},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindProcessState(table.data(), table.size(), c.processId), c.expected) << c.processId;
  }
}

TEST(ProcessTableTest, DamagedTablesAreNotReadPastTheirEnd) {
  FakeProcessTable table;
  table.Add(4, {{kRunning, 0}}).Add(8, {{kWaiting, kSuspendedReason}});
  // A last entry whose next offset points beyond the table.
  table.SetLastNext(0x10000);
  EXPECT_EQ(FindProcessState(table.data(), table.size(), 12), TableLookup::NotFound);
  EXPECT_EQ(FindProcessState(table.data(), table.size(), 8), TableLookup::Suspended);
  // A table cut inside the second entry's thread record.
  const size_t cut = table.size() - sizeof(SYSTEM_THREAD_INFORMATION) / 2;
  EXPECT_EQ(FindProcessState(table.data(), cut, 8), TableLookup::NotFound);
  EXPECT_EQ(FindProcessState(table.data(), cut, 4), TableLookup::Running);
  EXPECT_EQ(FindProcessState(table.data(), 10, 4), TableLookup::NotFound);
  EXPECT_EQ(FindProcessState(nullptr, 0, 4), TableLookup::NotFound);
}

// ---- registry --------------------------------------------------------------

// A key of the test's own, deleted (with its values) when the object goes.
class TestKey {
 public:
  TestKey(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
    ::RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  }
  ~TestKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
    ::RegDeleteKeyW(root_, path_.c_str());
  }
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;

  bool valid() const { return key_ != nullptr; }
  void SetString(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    SetBytes(name, text.c_str(), (text.size() + 1) * sizeof(wchar_t), type);
  }
  void SetBytes(const wchar_t* name, const void* data, size_t bytes, DWORD type) {
    ::RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data),
                     static_cast<DWORD>(bytes));
  }

 private:
  HKEY root_;
  std::wstring path_;
  HKEY key_ = nullptr;
};

TEST(RegistryTest, ReadsTextUpToTheFirstNulWithoutCheckingTheType) {
  const std::wstring path = L"Software\\" + UniqueName(L"TessaroTest-");
  TestKey key(HKEY_CURRENT_USER, path);
  ASSERT_TRUE(key.valid());
  key.SetString(L"plain", L"C:\\Program Files\\Tessaro");
  key.SetString(L"expand", L"%ProgramFiles%\\x", REG_EXPAND_SZ);
  const wchar_t twoStrings[] = L"first\0second\0";
  key.SetBytes(L"multi", twoStrings, sizeof(twoStrings), REG_MULTI_SZ);
  const std::wstring full(260, L'f');  // exactly the 520 bytes, no NUL of its own
  key.SetBytes(L"full", full.data(), full.size() * sizeof(wchar_t), REG_BINARY);
  key.SetString(L"long", std::wstring(300, L'l'));
  key.SetString(L"", L"default value");

  struct Case {
    const wchar_t* value;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"plain", L"C:\\Program Files\\Tessaro"},
      {L"expand", L"%ProgramFiles%\\x"},
      {L"multi", L"first"},
      {L"full", full},
      {L"long", L""},
      {L"missing", L""},
      {L"", L"default value"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, path, c.value, RegistryView::Default),
              c.expected)
        << c.value;
  }
  EXPECT_EQ(
      ReadRegistryString(HKEY_CURRENT_USER, path + L"\\missing", L"plain", RegistryView::Default),
      L"");
}

TEST(RegistryTest, FolderOfDisplayIcon) {
  struct Case {
    const wchar_t* icon;
    const wchar_t* folder;
  };
  const Case cases[] = {
      {L"C:\\Apps\\Browser\\browser.exe", L"C:\\Apps\\Browser"},
      {L"C:\\Apps\\Browser\\browser.exe,0", L"C:\\Apps\\Browser"},
      {L"\"C:\\Program Files\\Browser\\browser.exe\",0", L"C:\\Program Files\\Browser"},
      {L"C:\\browser.exe", L"C:"},
      {L"browser.exe", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderOfDisplayIcon(c.icon), c.folder) << c.icon;
}

TEST(RegistryTest, UninstallLocationPrefersInstallLocationThenUserThenMachine) {
  struct Values {
    const wchar_t* location;
    const wchar_t* icon;
  };
  struct Case {
    const char* what;
    Values user;
    Values machine;
    const wchar_t* expected;  // null: not found
  };
  const Case cases[] = {
      {"user location", {L"C:\\U", nullptr}, {L"C:\\M", nullptr}, L"C:\\U"},
      {"machine location", {nullptr, nullptr}, {L"C:\\M", nullptr}, L"C:\\M"},
      {"machine location before user icon",
       {nullptr, L"C:\\UI\\a.exe"},
       {L"C:\\M", nullptr},
       L"C:\\M"},
      {"user icon",
       {nullptr, L"C:\\Apps\\Browser\\browser.exe"},
       {nullptr, L"C:\\MI\\b.exe"},
       L"C:\\Apps\\Browser"},
      {"machine icon", {nullptr, nullptr}, {nullptr, L"C:\\MI\\b.exe"}, L"C:\\MI"},
      {"empty location is skipped", {L"", nullptr}, {nullptr, L"D:\\X\\x.exe"}, L"D:\\X"},
      {"nothing recorded", {nullptr, nullptr}, {nullptr, nullptr}, nullptr},
  };
  for (const Case& c : cases) {
    const std::wstring name = UniqueName(L"TessaroTest-");
    TestKey user(HKEY_CURRENT_USER, UninstallKeyOf(name));
    TestKey machine(HKEY_LOCAL_MACHINE, UninstallKeyOf(name));
    ASSERT_TRUE(user.valid() && machine.valid());
    const auto fill = [](TestKey& key, const Values& values) {
      if (values.location) key.SetString(L"InstallLocation", values.location);
      if (values.icon) key.SetString(L"DisplayIcon", values.icon);
    };
    fill(user, c.user);
    fill(machine, c.machine);
    std::wstring folder = L"untouched";
    EXPECT_EQ(FindUninstallLocation(name, folder), c.expected != nullptr) << c.what;
    EXPECT_EQ(folder, c.expected ? c.expected : L"untouched") << c.what;
  }
}

// ---- installed product -----------------------------------------------------

// The product's uninstall key is shared with the startup tests: it exists
// only inside this one test.
TEST(AppInfoTest, InstalledProductFollowsTheUninstallRecord) {
  TempFolder folder;
  const std::wstring program = folder / L"Tessaro.exe";
  ASSERT_TRUE(::CopyFileW(BuiltStubPath().c_str(), program.c_str(), FALSE));

  IAppInfo* info = GetAppInfo();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(GetAppInfo(), info);
  EXPECT_EQ(info->GetProductVersion(program), L"9.8.7.6");
  EXPECT_EQ(info->GetProductVersion(folder / L"missing.exe"), L"");

  {
    TestKey product(HKEY_LOCAL_MACHINE, PRODUCT_UNINSTALL_KEY);
    ASSERT_TRUE(product.valid());
    product.SetString(L"DisplayIcon", program);
    EXPECT_TRUE(info->Refresh());
    EXPECT_EQ(info->GetAppPath(), program);
    EXPECT_EQ(info->GetAppVersion(), L"9.8.7.6");

    product.SetString(L"DisplayIcon", program + L",0");
    EXPECT_TRUE(info->Refresh());
    EXPECT_EQ(info->GetAppPath(), L"");
    EXPECT_EQ(info->GetAppVersion(), L"");

    product.SetString(L"DisplayIcon", program);
    EXPECT_TRUE(info->Refresh());
    ASSERT_EQ(info->GetAppPath(), program);
  }
  EXPECT_TRUE(info->Refresh());
  EXPECT_EQ(info->GetAppPath(), L"");
  EXPECT_EQ(info->GetAppVersion(), L"");
}

TEST(AppInfoTest, EmptyPathReadsTheRunningProgramsOwnVersion) {
  TempFolder folder;
  const std::wstring stub = folder / L"version_stub.exe";
  ASSERT_TRUE(::CopyFileW(BuiltStubPath().c_str(), stub.c_str(), FALSE));
  ASSERT_EQ(RunChild(stub, L"version \"" + (folder / L"version.txt") + L"\""), 0);
  EXPECT_EQ(ReadUtf8File(folder / L"version.txt"), L"9.8.7.6");
}

}  // namespace
