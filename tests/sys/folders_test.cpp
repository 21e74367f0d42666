// Free space, the roomiest volume, the cache root and the per-run work folder.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <string>
#include <vector>

#include "stub_runner.h"
#include "support/temp_folder.h"
#include "sys/cache_root.h"
#include "sys/file_ops.h"
#include "sys/text_util.h"
#include "sys/volumes.h"

namespace {

// Other programs write to the same disk while a test runs.
constexpr uint64_t kFreeSpaceSlack = 512ull * 1024 * 1024;

uint64_t Distance(uint64_t a, uint64_t b) { return a > b ? a - b : b - a; }

uint64_t CallerFreeBytes(const wchar_t* root) {
  ULARGE_INTEGER caller{};
  return ::GetDiskFreeSpaceExW(root, &caller, nullptr, nullptr) ? caller.QuadPart : 0;
}

// A drive letter with nothing behind it, or empty when every letter is used.
std::wstring UnusedDriveRoot() {
  const DWORD used = ::GetLogicalDrives();
  for (int letter = 'Q'; letter <= 'Y'; ++letter) {
    if ((used & (1u << (letter - 'A'))) == 0) return std::wstring(1, wchar_t(letter)) + L":\\";
  }
  return std::wstring();
}

TEST(RoomiestVolumeTest, PicksTheMostFreeVolumeThatTakesTheProbe) {
  struct Case {
    const char* what;
    std::vector<VolumeCandidate> candidates;
    std::vector<std::wstring> refusing;  // mount paths whose probe fails
    std::wstring expected;
  };
  const Case cases[] = {
      {"one volume", {{L"C:\\", 100}}, {}, L"C:\\"},
      {"most free wins", {{L"C:\\", 100}, {L"D:\\", 300}, {L"E:\\", 200}}, {}, L"D:\\"},
      {"read-only roomier volume is skipped", {{L"C:\\", 100}, {L"D:\\", 900}}, {L"D:\\"}, L"C:\\"},
      {"tie keeps the first enumerated", {{L"D:\\", 500}, {L"C:\\", 500}}, {}, L"D:\\"},
      {"mounted folder takes part",
       {{L"C:\\", 100}, {L"C:\\mnt\\data\\", 400}},
       {},
       L"C:\\mnt\\data\\"},
      {"nothing free is never chosen", {{L"C:\\", 0}, {L"D:\\", 0}}, {}, L""},
      {"no volume takes the probe", {{L"C:\\", 10}, {L"D:\\", 20}}, {L"C:\\", L"D:\\"}, L""},
      {"no volumes", {}, {}, L""},
  };
  for (const Case& c : cases) {
    std::vector<std::wstring> probed;
    const auto probe = [&](const std::wstring& path) {
      probed.push_back(path);
      return std::find(c.refusing.begin(), c.refusing.end(), path) == c.refusing.end();
    };
    EXPECT_EQ(PickRoomiestVolume(c.candidates, probe), c.expected) << c.what;
  }
}

TEST(RoomiestVolumeTest, ProbesOnlyVolumesThatCouldWin) {
  std::vector<std::wstring> probed;
  const auto probe = [&](const std::wstring& path) {
    probed.push_back(path);
    return true;
  };
  const std::vector<VolumeCandidate> candidates = {
      {L"C:\\", 300}, {L"D:\\", 100}, {L"E:\\", 300}, {L"F:\\", 0}, {L"G:\\", 400}};
  EXPECT_EQ(PickRoomiestVolume(candidates, probe), L"G:\\");
  EXPECT_EQ(probed, (std::vector<std::wstring>{L"C:\\", L"G:\\"}));
}

TEST(VolumeFreeSpaceTest, AnyPathOnTheDriveGivesTheCallersFreeBytes) {
  const uint64_t expected = CallerFreeBytes(L"C:\\");
  ASSERT_GT(expected, 0u);
  for (const wchar_t* path :
       {L"C:", L"C:\\", L"C:\\windows\\system32", L"C:\\no\\such\\folder\\yet"}) {
    const uint64_t free = GetVolumeFreeSpace(path);
    EXPECT_GT(free, 0u) << path;
    EXPECT_LT(Distance(free, expected), kFreeSpaceSlack) << path;
  }
}

TEST(VolumeFreeSpaceTest, PathsNotOnALocalDiskGiveZero) {
  std::vector<std::wstring> paths = {L"", L"\\", L"\\\\server\\share\\folder", L"relative\\folder",
                                     L"file.txt"};
  const std::wstring unused = UnusedDriveRoot();
  if (!unused.empty()) paths.push_back(unused + L"folder");
  for (const std::wstring& path : paths) EXPECT_EQ(GetVolumeFreeSpace(path), 0u) << path;
}

TEST(VolumeMountPathsTest, AppendsTheMountPathsOfAVolume) {
  wchar_t volume[MAX_PATH] = {};
  ASSERT_TRUE(::GetVolumeNameForVolumeMountPointW(L"C:\\", volume, MAX_PATH));
  std::vector<std::wstring> paths = {L"kept"};
  ListVolumeMountPaths(volume, paths);
  ASSERT_GE(paths.size(), 2u);
  EXPECT_EQ(paths.front(), L"kept");
  EXPECT_NE(std::find(paths.begin(), paths.end(), L"C:\\"), paths.end());

  std::vector<std::wstring> unchanged = {L"kept"};
  ListVolumeMountPaths(L"\\\\?\\Volume{00000000-1111-2222-3333-444444444444}\\", unchanged);
  EXPECT_EQ(unchanged, std::vector<std::wstring>{L"kept"});
}

TEST(RoomiestVolumeTest, RealVolumesGiveAWritableMountPathAndNoProbeIsLeft) {
  const std::wstring roomiest = FindRoomiestVolume();
  ASSERT_FALSE(roomiest.empty());
  EXPECT_EQ(roomiest.back(), L'\\');
  EXPECT_GT(GetVolumeFreeSpace(roomiest), 0u);
  EXPECT_FALSE(PathExists(roomiest + L"OrvanePkg"));
}

TEST(CacheRootTest, IsTheOrvanePkgFolderOfRoamingAppData) {
  wchar_t appData[MAX_PATH] = {};
  ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
  const std::wstring expected = std::wstring(appData) + L"\\OrvanePkg\\";
  const bool existedBefore = PathExists(expected);

  const std::wstring root = GetCacheRoot();
  EXPECT_EQ(root, expected);
  EXPECT_TRUE(DirectoryExists(root));
  EXPECT_EQ(GetCacheRoot(), root);

  // The root is shared with other programs of the prefix: only an empty
  // folder this test made goes away again.
  if (!existedBefore) ::RemoveDirectoryW(root.c_str());
}

class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stub_ = folder_ / L"work_stub.exe";
    ASSERT_TRUE(::CopyFileW(BuiltStubPath().c_str(), stub_.c_str(), FALSE));
  }

  // Checks the form D:\OrvanePkg_<start time>[_<n>]\ .
  static void ExpectWorkFolderName(const std::wstring& folder, int64_t from, int64_t to) {
    ASSERT_GT(folder.size(), 1u);
    EXPECT_EQ(folder.back(), L'\\');
    const std::wstring name = folder.substr(0, folder.size() - 1);
    const size_t at = name.find(L"OrvanePkg_");
    ASSERT_NE(at, std::wstring::npos) << folder;
    EXPECT_EQ(name.rfind(L'\\', at), at - 1) << folder;
    const std::wstring digits = name.substr(at + 10, 10);
    ASSERT_TRUE(std::all_of(digits.begin(), digits.end(), [](wchar_t ch) {
      return std::iswdigit(ch);
    })) << folder;
    const int64_t stamp = std::stoll(digits);
    EXPECT_GE(stamp, from);
    EXPECT_LE(stamp, to);
  }

  TempFolder folder_;
  std::wstring stub_;
};

TEST_F(WorkFolderTest, ExistsWhileTheProgramRunsAndIsGoneAfterItEnds) {
  const std::wstring out = folder_ / L"work.txt";
  const int64_t before = NowUnixSeconds();
  ASSERT_EQ(RunChild(stub_, L"workfolder \"" + out + L"\""), 0);
  const int64_t after = NowUnixSeconds();
  const std::wstring workFolder = ReadUtf8File(out);
  ExpectWorkFolderName(workFolder, before, after);
  EXPECT_FALSE(PathExists(workFolder));
  EXPECT_FALSE(PathExists(workFolder + L"content.txt"));
}

TEST_F(WorkFolderTest, TwoRunsAtOnceGetFoldersOfTheirOwn) {
  const std::wstring eventName = L"tessaro-work-folder-" + std::to_wstring(::GetCurrentProcessId());
  UniqueKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
  ASSERT_TRUE(release.valid());
  const std::wstring outs[2] = {folder_ / L"first.txt", folder_ / L"second.txt"};
  StartedChild children[2];
  // Whatever happens below, no child is left waiting.
  struct LetGo {
    HANDLE event;
    StartedChild* children;
    ~LetGo() {
      ::SetEvent(event);
      for (int i = 0; i < 2; ++i) EndChild(children[i]);
    }
  } letGo{release.get(), children};
  std::wstring folders[2];
  const int64_t before = NowUnixSeconds();
  for (int i = 0; i < 2; ++i) {
    children[i] =
        StartChild(stub_, L"workfolder \"" + outs[i] + L"\" " + eventName, StartMode::Running);
    ASSERT_TRUE(children[i].process.valid());
    // The child writes its answer, then waits for the event.
    for (int wait = 0; wait < 600 && folders[i].empty(); ++wait) {
      ::Sleep(50);
      folders[i] = ReadUtf8File(outs[i]);
    }
    ASSERT_FALSE(folders[i].empty());
  }
  const int64_t after = NowUnixSeconds();
  EXPECT_NE(folders[0], folders[1]);
  for (const std::wstring& folder : folders) {
    ExpectWorkFolderName(folder, before, after);
    EXPECT_TRUE(PathExists(folder + L"content.txt"));
  }

  ::SetEvent(release.get());
  for (StartedChild& child : children) {
    ASSERT_EQ(::WaitForSingleObject(child.process.get(), 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(child.process.get(), &code);
    EXPECT_EQ(code, 0u);
  }
  for (const std::wstring& folder : folders) EXPECT_FALSE(PathExists(folder));
}

}  // namespace
