// MD5 digests of memory and files: the RFC 1321 vectors and the empty rules.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "sys/md5.h"
#include "sys/md5_file.h"

namespace {

struct VectorCase {
  std::string message;
  std::string digest;
};

const VectorCase kRfc1321Vectors[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890"
     "123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

class Md5VectorTest : public ::testing::TestWithParam<VectorCase> {};

TEST_P(Md5VectorTest, CoreMatchesTheReference) {
  Md5 md5;
  md5.Update(GetParam().message.data(), GetParam().message.size());
  EXPECT_EQ(Md5ToHex(md5.Finish()), GetParam().digest);
}

TEST_P(Md5VectorTest, DataDigestMatchesExceptForNoData) {
  const std::string& message = GetParam().message;
  const std::string expected = message.empty() ? "" : GetParam().digest;
  EXPECT_EQ(Md5HexOfData(message.data(), static_cast<int64_t>(message.size())), expected);
}

INSTANTIATE_TEST_SUITE_P(Rfc1321, Md5VectorTest, ::testing::ValuesIn(kRfc1321Vectors));

TEST(Md5, PiecesAcrossBlockBoundariesGiveTheSameDigest) {
  std::string data(1000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 3);
  const std::string whole = Md5HexOfData(data.data(), static_cast<int64_t>(data.size()));
  for (size_t split : {1u, 55u, 56u, 63u, 64u, 65u, 119u, 128u, 999u}) {
    Md5 md5;
    md5.Update(data.data(), split);
    md5.Update(data.data() + split, data.size() - split);
    EXPECT_EQ(Md5ToHex(md5.Finish()), whole) << "split at " << split;
  }
}

TEST(Md5, MillionAs) {
  const std::string data(1000000, 'a');
  EXPECT_EQ(Md5HexOfData(data.data(), static_cast<int64_t>(data.size())),
            "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5HexOfData, NoDataGivesEmpty) {
  const char bytes[] = "abc";
  EXPECT_EQ(Md5HexOfData(nullptr, 3), "");
  EXPECT_EQ(Md5HexOfData(bytes, 0), "");
  EXPECT_EQ(Md5HexOfData(bytes, -1), "");
}

TEST(Md5HexOfFile, DigestsTheWholeContent) {
  TempFolder folder;
  std::string content(10000, '\0');  // several read pieces and a partial one
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i % 251);
  ASSERT_TRUE(WriteWholeFile(folder / L"\u5305.bin", content));
  ASSERT_TRUE(WriteWholeFile(folder / L"abc.txt", "abc"));

  EXPECT_EQ(Md5HexOfFile(folder / L"\u5305.bin"),
            Md5HexOfData(content.data(), static_cast<int64_t>(content.size())));
  EXPECT_EQ(Md5HexOfFile(folder / L"abc.txt"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5HexOfFile, EmptyMissingOrFolderGivesEmpty) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder / L"empty.bin", ""));
  EXPECT_EQ(Md5HexOfFile(folder / L"empty.bin"), "");
  EXPECT_EQ(Md5HexOfFile(folder / L"missing.bin"), "");
  EXPECT_EQ(Md5HexOfFile(folder.path()), "");
  EXPECT_EQ(Md5HexOfFile(L""), "");
}

}  // namespace
