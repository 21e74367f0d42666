// Zip listing and extraction, and the refusal of entry names that would
// write outside the target folder. Archives are written at run time.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/zip_writer.h"
#include "sys/file_ops.h"
#include "sys/text_convert.h"
#include "sys/zip_extract.h"
#include "sys/zip_name.h"

namespace {

// Longer than one copy piece, and not trivially compressible.
std::string PatternBytes(size_t size) {
  std::string bytes(size, '\0');
  uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

// ---- entry names ----

struct NameCase {
  std::string name;
  bool safe;
};

class ZipNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ZipNameTest, Decides) { EXPECT_EQ(IsSafeZipEntryName(GetParam().name), GetParam().safe); }

INSTANTIATE_TEST_SUITE_P(
    Names, ZipNameTest,
    ::testing::Values(NameCase{"a.txt", true}, NameCase{"sub/ok.txt", true},
                      NameCase{"sub\\ok.txt", true}, NameCase{"a..b.txt", true},
                      NameCase{"..a", true}, NameCase{"a/..b/c..", true},
                      NameCase{"./a.txt", true}, NameCase{"file.", true},
                      NameCase{"\xE7\x9A\xAE\xE8\x82\xA4.png", true},  // 皮肤.png
                      NameCase{"", false}, NameCase{"..", false},
                      NameCase{"../evil.txt", false}, NameCase{"..\\evil.txt", false},
                      NameCase{"sub/../../evil.txt", false}, NameCase{"sub/..", false},
                      NameCase{"sub\\..\\..", false}, NameCase{".../evil.txt", false},
                      NameCase{".. /evil.txt", false}, NameCase{". ./evil.txt", false},
                      NameCase{"/abs.txt", false}, NameCase{"\\abs.txt", false},
                      NameCase{"//server/share/x", false}, NameCase{"C:\\evil.txt", false},
                      NameCase{"C:evil.txt", false}, NameCase{"sub/C:x", false},
                      NameCase{"file.txt:stream", false}));

// ---- extraction ----

class ZipTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateDirectoryChain(out_)); }

  std::wstring Archive(const std::vector<ZipFixtureEntry>& entries) {
    const std::wstring path = sandbox_ / L"archive.zip";
    EXPECT_TRUE(WriteZipArchive(path, entries));
    return path;
  }

  // Every name in the sandbox other than the target folder and the archive.
  std::vector<std::wstring> StrayFiles() {
    std::vector<std::wstring> stray;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((sandbox_ / L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return stray;
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L".." && name != L"out" && name != L"archive.zip") {
        stray.push_back(name);
      }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return stray;
  }

  TempFolder sandbox_;
  const std::wstring out_ = sandbox_ / L"out\\";
};

TEST_F(ZipTest, ExtractsStoredAndDeflatedEntries) {
  const std::string big = PatternBytes(10000);
  const std::string text(5000, 'z');
  ASSERT_TRUE(CreateDirectoryChain(out_ + L"sub"));
  const std::wstring archive =
      Archive({{"stored.bin", big, ZipMethod::Stored}, {"deflated.bin", big, ZipMethod::Deflated},
               {"sub/ok.txt", text, ZipMethod::Deflated}, {"one.txt", "1", ZipMethod::Stored}});

  EXPECT_EQ(ExtractZip(out_, archive), 0);
  EXPECT_EQ(ReadWholeFile(out_ + L"stored.bin"), big);
  EXPECT_EQ(ReadWholeFile(out_ + L"deflated.bin"), big);
  EXPECT_EQ(ReadWholeFile(out_ + L"sub\\ok.txt"), text);
  EXPECT_EQ(ReadWholeFile(out_ + L"one.txt"), "1");
}

TEST_F(ZipTest, ListsEntriesInDirectoryOrder) {
  const std::string longName(300, 'n');
  const std::wstring archive = Archive({{"b.txt", "b"}, {"a/c.txt", "c"}, {longName, "l"}});
  UniqueZipArchive zip = OpenZipArchive(archive);
  ASSERT_TRUE(zip);
  EXPECT_EQ(ListZipEntries(zip.get()),
            (std::vector<std::string>{"b.txt", "a/c.txt", std::string(260, 'n')}));
}

TEST_F(ZipTest, ExistingFilesAreOverwritten) {
  ASSERT_TRUE(WriteWholeFile(out_ + L"skin.png", "a much longer earlier content"));
  EXPECT_EQ(ExtractZip(out_, Archive({{"skin.png", "new", ZipMethod::Deflated}})), 0);
  EXPECT_EQ(ReadWholeFile(out_ + L"skin.png"), "new");
}

TEST_F(ZipTest, FolderWithoutSeparatorStillReceivesTheFiles) {
  const std::wstring archive = Archive({{"inside.txt", "x"}});
  EXPECT_EQ(ExtractZip(out_.substr(0, out_.size() - 1), archive), 0);
  EXPECT_EQ(ReadWholeFile(out_ + L"inside.txt"), "x");
  EXPECT_TRUE(StrayFiles().empty());
}

// Builds names that would escape `out_` if joined blindly; the drive-letter
// one points back into the sandbox, so a blind write would stay hermetic.
std::vector<std::string> UnsafeNames(const std::wstring& sandbox) {
  return {"../evil.txt", "..\\evil.txt", "sub/../../evil.txt", ".../evil.txt",
          "/abs.txt", "\\abs.txt", "C:\\evil.txt", WideToAnsi(sandbox) + "evil.txt"};
}

TEST_F(ZipTest, ExtractZipStopsAtAnUnsafeEntry) {
  ASSERT_TRUE(CreateDirectoryChain(out_ + L"sub"));
  for (const std::string& bad : UnsafeNames(sandbox_.path())) {
    SCOPED_TRACE(bad);
    const std::wstring archive = Archive({{"first.txt", "1"}, {bad, "evil"}, {"last.txt", "3"}});
    EXPECT_EQ(ExtractZip(out_, archive), -1);
    EXPECT_EQ(ReadWholeFile(out_ + L"first.txt"), "1");
    EXPECT_FALSE(PathExists(out_ + L"last.txt"));
    EXPECT_FALSE(PathExists(out_ + L"abs.txt"));
    EXPECT_FALSE(PathExists(out_ + L"evil.txt"));
    EXPECT_TRUE(StrayFiles().empty());
    EXPECT_FALSE(PathExists(L"C:\\evil.txt"));
  }
}

TEST_F(ZipTest, ExtractZipQuietSkipsUnsafeEntriesAndExtractsTheRest) {
  std::vector<ZipFixtureEntry> entries{{"first.txt", "1"}};
  for (const std::string& bad : UnsafeNames(sandbox_.path())) entries.push_back({bad, "evil"});
  entries.push_back({"last.txt", "3", ZipMethod::Deflated});

  ExtractZipQuiet(out_, Archive(entries));
  EXPECT_EQ(ReadWholeFile(out_ + L"first.txt"), "1");
  EXPECT_EQ(ReadWholeFile(out_ + L"last.txt"), "3");
  EXPECT_FALSE(PathExists(out_ + L"abs.txt"));
  EXPECT_FALSE(PathExists(out_ + L"evil.txt"));
  EXPECT_TRUE(StrayFiles().empty());
}

struct BadEntryCase {
  const char* label;
  ZipFixtureEntry entry;
};

class BadEntryTest : public ZipTest, public ::testing::WithParamInterface<BadEntryCase> {};

TEST_P(BadEntryTest, FailsTheEntryAndStopsExtractZip) {
  const std::wstring archive = Archive({{"first.txt", "1"}, GetParam().entry, {"last.txt", "3"}});
  EXPECT_EQ(ExtractZip(out_, archive), -1);
  EXPECT_FALSE(PathExists(out_ + L"last.txt"));

  // No broken or empty file is left where the entry would have gone.
  std::wstring target = out_ + AnsiToWide(GetParam().entry.name);
  std::replace(target.begin(), target.end(), L'/', L'\\');
  EXPECT_FALSE(FileExists(target));
  UniqueZipArchive zip = OpenZipArchive(archive);
  ASSERT_TRUE(zip);
  EXPECT_EQ(ExtractZipEntry(zip.get(), GetParam().entry.name, target), -1);
  EXPECT_FALSE(FileExists(target));

  ExtractZipQuiet(out_, archive);
  EXPECT_EQ(ReadWholeFile(out_ + L"last.txt"), "3");
}

INSTANTIATE_TEST_SUITE_P(
    Entries, BadEntryTest,
    ::testing::Values(BadEntryCase{"zero size", {"empty.txt", ""}},
                      BadEntryCase{"folder entry", {"folder/", ""}},
                      BadEntryCase{"missing folder", {"nosub/x.txt", "x"}},
                      BadEntryCase{"stored, bad crc", {"crc.bin", "payload", ZipMethod::Stored, true}},
                      BadEntryCase{"deflated, bad crc",
                                   {"crc.bin", PatternBytes(5000), ZipMethod::Deflated, true}}),
    [](const ::testing::TestParamInfo<BadEntryCase>& param) {
      std::string name;
      for (const char* c = param.param.label; *c; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) name.push_back(*c);
      }
      return name;
    });

TEST_F(ZipTest, ExtractZipEntryWritesOneNamedEntry) {
  const std::wstring archive = Archive({{"a.txt", "A"}, {"b.txt", "BB", ZipMethod::Deflated}});
  UniqueZipArchive zip = OpenZipArchive(archive);
  ASSERT_TRUE(zip);
  EXPECT_EQ(ExtractZipEntry(zip.get(), "b.txt", out_ + L"renamed.bin"), 0);
  EXPECT_EQ(ReadWholeFile(out_ + L"renamed.bin"), "BB");
  EXPECT_EQ(ExtractZipEntry(zip.get(), "missing.txt", out_ + L"m.bin"), -1);
  EXPECT_EQ(ExtractZipEntry(zip.get(), "B.TXT", out_ + L"m.bin"), -1);  // names are exact
  EXPECT_FALSE(PathExists(out_ + L"m.bin"));
}

TEST_F(ZipTest, UnusableArgumentsOrArchivesFail) {
  const std::wstring archive = Archive({{"a.txt", "A"}});
  ASSERT_TRUE(WriteWholeFile(sandbox_ / L"not-a-zip.zip", "PK but not really"));
  const std::wstring noEntries = sandbox_ / L"no-entries.zip";
  ASSERT_TRUE(WriteZipArchive(noEntries, {}));

  EXPECT_EQ(ExtractZip(L"", archive), -1);
  EXPECT_EQ(ExtractZip(out_, L""), -1);
  EXPECT_EQ(ExtractZip(out_, sandbox_ / L"missing.zip"), -1);
  EXPECT_EQ(ExtractZip(out_, sandbox_ / L"not-a-zip.zip"), -1);
  EXPECT_EQ(ExtractZip(out_, noEntries), -1);
  EXPECT_FALSE(OpenZipArchive(sandbox_ / L"missing.zip"));
  EXPECT_TRUE(ListZipEntries(nullptr).empty());
}

TEST_F(ZipTest, WideArchiveAndFolderPathsWork) {
  const std::wstring folder = sandbox_ / L"\u4e2d\u6587\u76ee\u5f55\\";  // 中文目录
  ASSERT_TRUE(CreateDirectoryChain(folder));
  const std::wstring archive = folder + L"\u76ae\u80a4.zip";  // 皮肤.zip
  ASSERT_TRUE(WriteZipArchive(archive, {{"bg.png", "png bytes", ZipMethod::Deflated}}));

  EXPECT_EQ(ExtractZip(folder, archive), 0);
  EXPECT_EQ(ReadWholeFile(folder + L"bg.png"), "png bytes");
}

}  // namespace
