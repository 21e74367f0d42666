// OpenFileHandle's mode word and errors, and CFileStream's position, size,
// end-of-file and time rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/temp_folder.h"
#include "sys/file_stream.h"

namespace {

constexpr int64_t kUnixEpochAsFileTime = 116444736000000000LL;

// ---- OpenFileHandle ----

class OpenFileHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(WriteWholeFile(existing_, "0123456789")); }

  TempFolder folder_;
  const std::wstring existing_ = folder_ / L"existing.bin";
};

class RefusedModeTest : public OpenFileHandleTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(RefusedModeTest, GivesNoHandleAndRaisesNothing) {
  UniqueFileHandle handle;
  EXPECT_NO_THROW(handle = OpenFileHandle(GetParam(), existing_));
  EXPECT_FALSE(handle);
}

INSTANTIATE_TEST_SUITE_P(Modes, RefusedModeTest,
                         ::testing::Values(0x03u, 0x43u, 0x50u, 0x52u, 0xF0u, 0x60u));

struct RaisedCase {
  uint32_t mode;
  const wchar_t* relative;  // null: the empty path
  std::string message;
};

class RaisedErrorTest : public OpenFileHandleTest,
                        public ::testing::WithParamInterface<RaisedCase> {};

TEST_P(RaisedErrorTest, CarriesTheMessage) {
  const std::wstring path = GetParam().relative ? folder_ / GetParam().relative : L"";
  try {
    OpenFileHandle(GetParam().mode, path);
    FAIL() << "no error raised";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(error.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, RaisedErrorTest,
    ::testing::Values(RaisedCase{OpenModeCreate, nullptr, "filename can't be empty"},
                      RaisedCase{OpenModeCreate, L"no\\such\\x.bin", "OrvaneFileCreate failed"},
                      RaisedCase{OpenModeReadShared, L"missing.bin", "OrvaneFileOpen failed"},
                      RaisedCase{OpenModeReadShared, nullptr, "OrvaneFileOpen failed"},
                      RaisedCase{0x42u, L"missing.bin", "OrvaneFileOpen failed"}));

TEST_F(OpenFileHandleTest, CreateTruncatesAndAllowsReadAndWrite) {
  CFileStream stream(OpenFileHandle(OpenModeCreate, existing_));
  EXPECT_EQ(stream.GetSize(), 0);
  EXPECT_EQ(stream.Write("abc", 3), 3);
  EXPECT_EQ(stream.SeekTo(0), 0);
  char buffer[3] = {};
  EXPECT_EQ(stream.Read(buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "abc");
}

TEST_F(OpenFileHandleTest, AccessBitsDecideReadAndWrite) {
  char buffer[4] = {};
  {
    CFileStream readOnly(OpenFileHandle(0x40, existing_));
    EXPECT_EQ(readOnly.Read(buffer, 4), 4);
    EXPECT_EQ(readOnly.Write("x", 1), -1);
  }
  {
    CFileStream writeOnly(OpenFileHandle(0x41, existing_));
    EXPECT_EQ(writeOnly.Read(buffer, 4), 0);  // a failed read is not the end
    EXPECT_FALSE(writeOnly.IsEof());
    EXPECT_EQ(writeOnly.Write("W", 1), 1);
  }
  {
    CFileStream both(OpenFileHandle(0x42, existing_));
    EXPECT_EQ(both.Read(buffer, 1), 1);
    EXPECT_EQ(std::string(buffer, 1), "W");
    EXPECT_EQ(both.Write("R", 1), 1);
  }
  EXPECT_EQ(ReadWholeFile(existing_), "WR23456789");
}

struct SharingCase {
  uint32_t share;
  bool othersMayRead;
  bool othersMayWrite;
};

class SharingTest : public OpenFileHandleTest, public ::testing::WithParamInterface<SharingCase> {
 protected:
  bool OpensBeside(uint32_t mode) {
    try {
      return static_cast<bool>(OpenFileHandle(mode, existing_));
    } catch (const std::runtime_error&) {
      return false;
    }
  }
};

TEST_P(SharingTest, ShareBitsDecideWhatOthersMayOpen) {
  const UniqueFileHandle first = OpenFileHandle(0x2u | GetParam().share, existing_);
  ASSERT_TRUE(first);
  EXPECT_EQ(OpensBeside(0x40), GetParam().othersMayRead);  // read, fully shared
  EXPECT_EQ(OpensBeside(0x41), GetParam().othersMayWrite);  // write, fully shared
}

INSTANTIATE_TEST_SUITE_P(Modes, SharingTest,
                         ::testing::Values(SharingCase{0x00, false, false},
                                           SharingCase{0x10, false, false},
                                           SharingCase{0x20, true, false},
                                           SharingCase{0x30, false, true},
                                           SharingCase{0x40, true, true}));

// ---- CFileStream ----

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stream_ = std::make_unique<CFileStream>(OpenFileHandle(OpenModeCreate, path_));
    ASSERT_EQ(stream_->Write("0123456789", 10), 10);
  }

  TempFolder folder_;
  const std::wstring path_ = folder_ / L"stream.bin";
  std::unique_ptr<CFileStream> stream_;
};

TEST_F(FileStreamTest, ReadAtEndSetsEofAndSeekClearsIt) {
  char buffer[4] = {};
  EXPECT_EQ(stream_->Read(buffer, 4), -1);
  EXPECT_TRUE(stream_->IsEof());
  EXPECT_EQ(stream_->Seek(-2, SeekEnd), 8);
  EXPECT_FALSE(stream_->IsEof());

  EXPECT_EQ(stream_->Read(buffer, 4), 2);  // fewer than asked, not yet the end
  EXPECT_FALSE(stream_->IsEof());
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_EQ(stream_->Read(buffer, 4), -1);
  EXPECT_TRUE(stream_->IsEof());
}

TEST_F(FileStreamTest, WriteAndSetSizeClearEof) {
  char buffer[1];
  ASSERT_EQ(stream_->Read(buffer, 1), -1);
  EXPECT_EQ(stream_->Write(nullptr, 5), 0);
  EXPECT_FALSE(stream_->IsEof());

  ASSERT_EQ(stream_->Read(buffer, 1), -1);
  EXPECT_TRUE(stream_->SetSize(4));
  EXPECT_FALSE(stream_->IsEof());
}

TEST_F(FileStreamTest, NullBufferOrZeroCountTouchesNothing) {
  ASSERT_EQ(stream_->SeekTo(3), 3);
  char buffer[4];
  EXPECT_EQ(stream_->Read(nullptr, 4), 0);
  EXPECT_EQ(stream_->Read(buffer, 0), 0);
  EXPECT_EQ(stream_->Write("x", 0), 0);
  EXPECT_EQ(stream_->Tell(), 3);
  EXPECT_EQ(ReadWholeFile(path_), "0123456789");
}

struct SeekCase {
  int64_t distance;
  SeekOrigin origin;
  int64_t position;  // -1: refused
};

class SeekTest : public FileStreamTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(SeekTest, MovesFromTheOrigin) {
  ASSERT_EQ(stream_->SeekTo(4), 4);
  EXPECT_EQ(stream_->Seek(GetParam().distance, GetParam().origin), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Origins, SeekTest,
    ::testing::Values(SeekCase{2, SeekBegin, 2}, SeekCase{2, SeekCurrent, 6},
                      SeekCase{-3, SeekCurrent, 1}, SeekCase{-1, SeekEnd, 9},
                      SeekCase{5, SeekEnd, 15}, SeekCase{0x100000000LL, SeekBegin, 0x100000000LL},
                      SeekCase{-5, SeekCurrent, -1}, SeekCase{-1, SeekBegin, -1}));

TEST_F(FileStreamTest, GetSizeKeepsThePosition) {
  ASSERT_EQ(stream_->SeekTo(3), 3);
  EXPECT_EQ(stream_->GetSize(), 10);
  EXPECT_EQ(stream_->Tell(), 3);
}

TEST_F(FileStreamTest, SetSizeMovesToStartWhetherGrowingOrShrinking) {
  ASSERT_EQ(stream_->SeekTo(7), 7);
  EXPECT_TRUE(stream_->SetSize(4));
  EXPECT_EQ(stream_->Tell(), 0);
  EXPECT_EQ(stream_->GetSize(), 4);

  ASSERT_EQ(stream_->SeekTo(2), 2);
  EXPECT_TRUE(stream_->SetSize(64));
  EXPECT_EQ(stream_->Tell(), 0);
  EXPECT_EQ(stream_->GetSize(), 64);
  stream_.reset();
  EXPECT_EQ(ReadWholeFile(path_), std::string("0123") + std::string(60, '\0'));
}

TEST_F(FileStreamTest, SetSizeToNegativeLengthFails) {
  ASSERT_EQ(stream_->SeekTo(5), 5);
  EXPECT_FALSE(stream_->SetSize(-1));
  EXPECT_EQ(stream_->GetSize(), 10);
}

TEST_F(FileStreamTest, GetTimesGivesUnixSeconds) {
  FILETIME tenSeconds;
  const int64_t ticks = kUnixEpochAsFileTime + 10 * 10000000LL;
  tenSeconds.dwLowDateTime = static_cast<DWORD>(ticks);
  tenSeconds.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  {
    UniqueFileHandle handle = OpenFileHandle(0x42, path_);
    ASSERT_TRUE(::SetFileTime(handle.get(), &tenSeconds, &tenSeconds, &tenSeconds));
  }
  CFileStream stream(OpenFileHandle(OpenModeReadShared, path_));
  int64_t creation = -1, lastAccess = -1, lastWrite = -1;
  ASSERT_TRUE(stream.GetTimes(creation, lastAccess, lastWrite));
  EXPECT_EQ(lastWrite, 10);
  EXPECT_EQ(lastAccess, 10);
}

TEST_F(FileStreamTest, DestructorAndReleaseCloseTheFile) {
  auto closesAfter = [this](auto finish) {
    finish();
    // An unshared open succeeds only when no other handle is open.
    return static_cast<bool>(OpenFileHandle(0x02, path_));
  };
  EXPECT_TRUE(closesAfter([this] { stream_.reset(); }));
  EXPECT_TRUE(closesAfter([this] {
    IOrvaneStream* heap = new CFileStream(OpenFileHandle(OpenModeReadShared, path_));
    heap->Release();
  }));
}

TEST(FileStream, WithoutAFileEveryCallFails) {
  CFileStream stream{UniqueFileHandle()};
  char buffer[4];
  int64_t a = 0, b = 0, c = 0;
  EXPECT_EQ(stream.Tell(), -1);
  EXPECT_EQ(stream.SeekTo(0), -1);
  EXPECT_EQ(stream.GetSize(), -1);
  EXPECT_FALSE(stream.SetSize(0));
  EXPECT_EQ(stream.Read(buffer, 4), 0);
  EXPECT_FALSE(stream.IsEof());
  EXPECT_EQ(stream.Write("x", 1), -1);
  EXPECT_FALSE(stream.GetTimes(a, b, c));
}

}  // namespace
