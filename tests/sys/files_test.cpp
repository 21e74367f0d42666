// Path pieces, directory enumeration, existence tests, folder creation and
// tree deletion.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "support/temp_folder.h"
#include "sys/file_ops.h"
#include "sys/find_entry.h"
#include "sys/path_pieces.h"

namespace {

// ---- path pieces ----

TEST(WithTrailingSeparator, AppendsBackslashOnlyWhenMissing) {
  EXPECT_EQ(WithTrailingSeparator(L""), L"");
  EXPECT_EQ(WithTrailingSeparator(L"C:\\a"), L"C:\\a\\");
  EXPECT_EQ(WithTrailingSeparator(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(WithTrailingSeparator(L"C:/a/"), L"C:/a/");
}

struct ExtensionCase {
  std::wstring path;
  std::wstring extension;
};

class ExtensionOfTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionOfTest, TakesLastDotAfterLastSeparator) {
  EXPECT_EQ(ExtensionOf(GetParam().path), GetParam().extension);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExtensionOfTest,
    ::testing::Values(ExtensionCase{L"C:\\dir.old\\setup", L""},
                      ExtensionCase{L"C:/dir.old/setup", L""},
                      ExtensionCase{L"install.exe", L".exe"}, ExtensionCase{L"a.tar.gz", L".gz"},
                      ExtensionCase{L"C:\\a\\.hidden", L".hidden"},
                      ExtensionCase{L"C:\\a\\file.", L"."}, ExtensionCase{L"noext", L""},
                      ExtensionCase{L"", L""}));

struct FullPathCase {
  std::wstring path;
  std::wstring directory;
  std::wstring fileName;
};

class FullPathPiecesTest : public ::testing::TestWithParam<FullPathCase> {};

TEST_P(FullPathPiecesTest, SplitsTheSystemsFullPath) {
  EXPECT_EQ(DirectoryOfPath(GetParam().path), GetParam().directory);
  EXPECT_EQ(FileNameOfPath(GetParam().path), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FullPathPiecesTest,
    ::testing::Values(FullPathCase{L"C:\\a\\b.txt", L"C:\\a\\", L"b.txt"},
                      FullPathCase{L"C:/a/b.txt", L"C:\\a\\", L"b.txt"},
                      FullPathCase{L"C:\\a\\..\\b.txt", L"C:\\", L"b.txt"},
                      FullPathCase{L"C:\\a\\", L"C:\\a\\", L""},
                      FullPathCase{L"C:\\", L"C:\\", L""}, FullPathCase{L"", L"", L""}));

TEST(FullPathPieces, RelativePathIsResolvedAgainstCurrentFolder) {
  wchar_t current[MAX_PATH] = {};
  ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, current), 0u);
  EXPECT_EQ(DirectoryOfPath(L"setup.exe"), WithTrailingSeparator(current));
  EXPECT_EQ(FileNameOfPath(L"setup.exe"), L"setup.exe");
}

// ---- enumeration ----

class FindEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteWholeFile(folder_ / L"a.txt", "a"));
    ASSERT_TRUE(WriteWholeFile(folder_ / L"b.bin", "bb"));
    ASSERT_TRUE(::CreateDirectoryW((folder_ / L"sub").c_str(), nullptr));
  }

  // Name -> is directory, for every entry listed.
  std::map<std::wstring, bool> List(const std::wstring& folder, const std::wstring& pattern) {
    std::map<std::wstring, bool> seen;
    std::unique_ptr<FindEntry> entry = FindFirstEntry(folder, pattern);
    if (!entry) return seen;
    do {
      const std::wstring full = EntryFullPath(entry.get());
      seen[full] = IsDirectoryEntry(entry.get());
    } while (FindNextEntry(entry.get()));
    CloseFindEntry(entry);
    EXPECT_EQ(entry, nullptr);
    return seen;
  }

  TempFolder folder_;
};

TEST_F(FindEntryTest, ListsEveryEntryButDotsWithFullPaths) {
  const std::wstring noSeparator = folder_.path().substr(0, folder_.path().size() - 1);
  const std::map<std::wstring, bool> expected = {
      {folder_ / L"a.txt", false}, {folder_ / L"b.bin", false}, {folder_ / L"sub", true}};
  EXPECT_EQ(List(noSeparator, L"*"), expected);
  EXPECT_EQ(List(folder_.path(), L"*"), expected);
}

TEST_F(FindEntryTest, PatternNarrowsTheListing) {
  EXPECT_EQ(List(folder_.path(), L"*.txt"),
            (std::map<std::wstring, bool>{{folder_ / L"a.txt", false}}));
  EXPECT_TRUE(List(folder_.path(), L"*.none").empty());
}

TEST_F(FindEntryTest, EmptyOrMissingFolderGivesNoEntry) {
  EXPECT_EQ(FindFirstEntry(folder_ / L"sub", L"*"), nullptr);
  EXPECT_EQ(FindFirstEntry(folder_ / L"missing", L"*"), nullptr);
  EXPECT_EQ(FindFirstEntry(folder_ / L"a.txt", L"*"), nullptr);
}

TEST(FindEntry, NullEntryAnswersEmpty) {
  EXPECT_FALSE(FindNextEntry(nullptr));
  EXPECT_FALSE(IsDirectoryEntry(nullptr));
  EXPECT_EQ(EntryFullPath(nullptr), L"");
}

// ---- existence and size ----

struct ExistsCase {
  const wchar_t* relative;
  bool file;
  bool directory;
  int64_t size;
};

class ExistsTest : public ::testing::TestWithParam<ExistsCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteWholeFile(folder_ / L"five.bin", "12345"));
    ASSERT_TRUE(WriteWholeFile(folder_ / L"empty.bin", ""));
    ASSERT_TRUE(::CreateDirectoryW((folder_ / L"dir").c_str(), nullptr));
  }
  TempFolder folder_;
};

TEST_P(ExistsTest, TellsFilesFromFolders) {
  const std::wstring path = folder_ / GetParam().relative;
  EXPECT_EQ(FileExists(path), GetParam().file);
  EXPECT_EQ(DirectoryExists(path), GetParam().directory);
  EXPECT_EQ(FileSize(path), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExistsTest,
    ::testing::Values(ExistsCase{L"five.bin", true, false, 5},
                      ExistsCase{L"empty.bin", true, false, 0},
                      ExistsCase{L"dir", false, true, 0}, ExistsCase{L"dir\\", false, true, 0},
                      ExistsCase{L"dir/", false, true, 0},
                      ExistsCase{L"missing", false, false, 0},
                      ExistsCase{L"missing\\deeper", false, false, 0},
                      ExistsCase{L"five.bin\\inside", false, false, 0}));

TEST(Exists, EmptyPathIsNothing) {
  EXPECT_FALSE(FileExists(L""));
  EXPECT_FALSE(DirectoryExists(L""));
  EXPECT_EQ(FileSize(L""), 0);
}

TEST(FileSize, ReportsSizesPastFourGigabytes) {
  TempFolder folder;
  const std::wstring path = folder / L"sparse.bin";
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = 0x100000010LL;
  const bool sized = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
  ::CloseHandle(file);
  ASSERT_TRUE(sized);
  EXPECT_EQ(FileSize(path), 0x100000010LL);
}

// ---- folder chain ----

TEST(CreateDirectoryChain, CreatesEveryMissingFolder) {
  TempFolder folder;
  const std::wstring deep = folder / L"a\\b/c\\\u4e2d\u6587";
  EXPECT_TRUE(CreateDirectoryChain(deep));
  EXPECT_TRUE(DirectoryExists(folder / L"a\\b\\c\\\u4e2d\u6587"));
}

TEST(CreateDirectoryChain, ExistingChainIsLeftAlone) {
  TempFolder folder;
  ASSERT_TRUE(::CreateDirectoryW((folder / L"a").c_str(), nullptr));
  ASSERT_TRUE(WriteWholeFile(folder / L"a\\keep.txt", "keep"));
  EXPECT_TRUE(CreateDirectoryChain(folder / L"a\\"));
  EXPECT_EQ(ReadWholeFile(folder / L"a\\keep.txt"), "keep");
}

TEST(CreateDirectoryChain, FailsWhereAFileOrBadNameBlocks) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder / L"file", "x"));
  EXPECT_FALSE(CreateDirectoryChain(folder / L"file\\sub"));
  EXPECT_FALSE(CreateDirectoryChain(folder / L"bad|name\\sub"));
  EXPECT_FALSE(PathExists(folder / L"bad|name"));
  EXPECT_FALSE(CreateDirectoryChain(L""));
}

// ---- tree deletion ----

TEST(DeleteTree, RemovesNestedTree) {
  TempFolder folder;
  const std::wstring root = folder / L"tree";
  ASSERT_TRUE(CreateDirectoryChain(root + L"\\x\\y\\z"));
  ASSERT_TRUE(CreateDirectoryChain(root + L"\\empty"));
  ASSERT_TRUE(WriteWholeFile(root + L"\\top.txt", "1"));
  ASSERT_TRUE(WriteWholeFile(root + L"\\x\\mid.txt", "2"));
  ASSERT_TRUE(WriteWholeFile(root + L"\\x\\y\\z\\leaf.txt", "3"));
  ASSERT_TRUE(WriteWholeFile(folder / L"sibling.txt", "stays"));

  EXPECT_TRUE(DeleteTree(root));
  EXPECT_FALSE(PathExists(root));
  EXPECT_EQ(ReadWholeFile(folder / L"sibling.txt"), "stays");
}

TEST(DeleteTree, TrailingSeparatorIsAccepted) {
  TempFolder folder;
  ASSERT_TRUE(CreateDirectoryChain(folder / L"tree\\x"));
  ASSERT_TRUE(WriteWholeFile(folder / L"tree\\x\\f", "1"));
  EXPECT_TRUE(DeleteTree(folder / L"tree\\"));
  EXPECT_FALSE(PathExists(folder / L"tree"));
}

TEST(DeleteTree, SingleFileEmptyFolderAndMissingPath) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder / L"single.txt", "x"));
  ASSERT_TRUE(::CreateDirectoryW((folder / L"empty").c_str(), nullptr));

  EXPECT_TRUE(DeleteTree(folder / L"single.txt"));
  EXPECT_FALSE(PathExists(folder / L"single.txt"));
  EXPECT_TRUE(DeleteTree(folder / L"empty"));
  EXPECT_FALSE(PathExists(folder / L"empty"));
  EXPECT_TRUE(DeleteTree(folder / L"missing"));
  EXPECT_FALSE(DeleteTree(L""));
}

TEST(DeleteTree, ReadOnlyFileStaysAndIsReported) {
  TempFolder folder;
  ASSERT_TRUE(CreateDirectoryChain(folder / L"tree"));
  const std::wstring locked = folder / L"tree\\locked.txt";
  ASSERT_TRUE(WriteWholeFile(locked, "x"));
  ASSERT_TRUE(WriteWholeFile(folder / L"tree\\plain.txt", "y"));
  ASSERT_TRUE(::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_FALSE(DeleteTree(folder / L"tree"));
  EXPECT_TRUE(FileExists(locked));
  EXPECT_FALSE(PathExists(folder / L"tree\\plain.txt"));
  EXPECT_FALSE(DeleteTree(locked));
  EXPECT_TRUE(FileExists(locked));
}

TEST(DeleteFileAt, ReportsTheSystemsAnswer) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder / L"f", "x"));
  EXPECT_TRUE(DeleteFileAt(folder / L"f"));
  EXPECT_FALSE(DeleteFileAt(folder / L"f"));
}

}  // namespace
