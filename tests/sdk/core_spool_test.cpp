// The spool: one durable file per record, listed oldest first, removed or
// quarantined as the collector decides.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "sys/unique_handle.h"
#include "vexa/core/record_id.h"
#include "vexa/core/spool.h"

namespace {

class SdkSpool : public ::testing::Test {
 protected:
  std::wstring Folder() const { return temp.path() + L"spool\\"; }

  std::vector<std::string> AppendLines(int count, const std::string& prefix = "line") {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
      lines.push_back(prefix + std::to_string(i) + "\n");
      EXPECT_TRUE(spool.Append(NewRecordId(), lines.back()));
    }
    return lines;
  }

  static std::vector<std::string> LinesOf(const std::vector<Spool::Entry>& entries) {
    std::vector<std::string> lines;
    for (const Spool::Entry& entry : entries) lines.push_back(entry.line);
    return lines;
  }

  TempFolder temp;
  Spool spool{temp.path() + L"spool\\"};
};

TEST_F(SdkSpool, KeepsOneWholeFilePerRecordInCommitOrder) {
  const std::vector<std::string> lines = AppendLines(5);
  EXPECT_EQ(LinesOf(spool.Oldest(100, 1 << 20)), lines);
  EXPECT_EQ(spool.RecordFiles().size(), 5u);
  WIN32_FIND_DATAW data;
  UniqueFindHandle leftovers(::FindFirstFileW((Folder() + L"*.tmp").c_str(), &data));
  EXPECT_FALSE(leftovers.valid()) << "a temporary file was left behind";
}

TEST_F(SdkSpool, BatchesStopAtTheCountOrTheSizeButNeverComeBackEmpty) {
  AppendLines(3, "0123456789-");
  EXPECT_EQ(spool.Oldest(2, 1 << 20).size(), 2u);
  EXPECT_EQ(spool.Oldest(100, 30).size(), 2u);  // 13 bytes a line
  EXPECT_EQ(spool.Oldest(100, 5).size(), 1u);   // one line is bigger than the limit
}

TEST_F(SdkSpool, RemovedRecordsGoAndQuarantinedOnesMoveAside) {
  AppendLines(3);
  const std::vector<Spool::Entry> first = spool.Oldest(1, 1 << 20);
  const std::vector<Spool::Entry> second = {spool.Oldest(2, 1 << 20).back()};
  spool.Remove(first);
  spool.Quarantine(second);
  EXPECT_EQ(LinesOf(spool.Oldest(100, 1 << 20)), std::vector<std::string>{"line2\n"});
  EXPECT_EQ(ReadWholeFile(Folder() + L"rejected\\" + second[0].fileName), "line1\n");
}

TEST_F(SdkSpool, IgnoresWhatIsNotARecordFile) {
  AppendLines(1);
  ASSERT_TRUE(WriteWholeFile(Folder() + L"notes.record", "x"));
  ASSERT_TRUE(WriteWholeFile(Folder() + L"half.rec.tmp", "x"));
  ASSERT_TRUE(::CreateDirectoryW((Folder() + L"folder.rec").c_str(), nullptr));
  EXPECT_EQ(spool.RecordFiles().size(), 1u);
  EXPECT_EQ(LinesOf(spool.Oldest(100, 1 << 20)), std::vector<std::string>{"line0\n"});
}

TEST_F(SdkSpool, AppendFailsWhereNoFolderCanBeMade) {
  const Spool nowhere(temp.path() + L"missing\\parent\\spool\\");
  EXPECT_FALSE(nowhere.Append(NewRecordId(), "x\n"));
  const Spool unnamed(L"");
  EXPECT_FALSE(unnamed.Append(NewRecordId(), "x\n"));
}

TEST_F(SdkSpool, RemovesOnlyTemporariesOlderThanADay) {
  AppendLines(1);
  ASSERT_TRUE(WriteWholeFile(Folder() + L"old.tmp", "x"));
  ASSERT_TRUE(WriteWholeFile(Folder() + L"new.tmp", "x"));
  {
    UniqueFileHandle old(::CreateFileW((Folder() + L"old.tmp").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
    value.QuadPart -= 2ull * 24 * 3600 * 10000000;
    const FILETIME twoDaysAgo{value.LowPart, value.HighPart};
    ASSERT_TRUE(::SetFileTime(old.get(), nullptr, nullptr, &twoDaysAgo));
  }
  spool.RemoveStaleTemporaries();
  EXPECT_FALSE(PathExists(Folder() + L"old.tmp"));
  EXPECT_TRUE(PathExists(Folder() + L"new.tmp"));
  EXPECT_EQ(spool.RecordFiles().size(), 1u);
}

}  // namespace
