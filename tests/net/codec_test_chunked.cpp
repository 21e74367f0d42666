// Chunk-size lines and the chunked body decoder, fed the way the client
// receives (size lines byte by byte, data in Wanted() pieces) and in bulk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "net/codec/chunked_body.h"
#include "net/codec/http_body.h"

namespace {

struct SizeCase {
  const char* line;
  int64_t size;
};

class ChunkSizeLine : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ChunkSizeLine, ReadsHexBeforeTheLineEnd) {
  EXPECT_EQ(ParseChunkSize(GetParam().line), GetParam().size) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ChunkSizeLine,
    ::testing::Values(SizeCase{"4\r\n", 4}, SizeCase{"1a\r\n", 26}, SizeCase{"1A\r\n", 26},
                      SizeCase{"fF\r\n", 255}, SizeCase{"00000010\r\n", 16},
                      SizeCase{"FFFFFFFF\r\n", 0xFFFFFFFFLL}, SizeCase{"\r\n", 0},
                      SizeCase{"0\r\n", 0},
                      // extensions are ignored, blanks before them allowed
                      SizeCase{"4;name=value\r\n", 4}, SizeCase{"a ;x\r\n", 10},
                      SizeCase{"10 \r\n", 16},
                      // no line end, no digits, stray characters, overflow
                      SizeCase{"4", -1}, SizeCase{"4\n", -1}, SizeCase{"\n", -1},
                      SizeCase{";x\r\n", -1}, SizeCase{"g\r\n", -1}, SizeCase{"4g\r\n", -1},
                      SizeCase{"1 0\r\n", -1}, SizeCase{"-4\r\n", -1},
                      SizeCase{"100000000\r\n", -1}));

// Feeds as the socket code does: exactly Wanted() bytes at a time.
ChunkedBodyDecoder DecodePiecewise(const std::string& wire, size_t* used) {
  ChunkedBodyDecoder decoder;
  *used = 0;
  while (!decoder.Finished() && *used < wire.size()) {
    const size_t want = std::min(decoder.Wanted(), wire.size() - *used);
    EXPECT_EQ(decoder.Feed(&wire[*used], want), want);
    *used += want;
  }
  return decoder;
}

struct BodyCase {
  const char* what;
  std::string wire;
  ChunkedBodyDecoder::State state;
  std::string body;
  size_t unread;  // bytes of `wire` after the body
};

class ChunkedBody : public ::testing::TestWithParam<BodyCase> {};

TEST_P(ChunkedBody, DecodesTheSameByPiecesAndInBulk) {
  const BodyCase& c = GetParam();
  size_t used = 0;
  const ChunkedBodyDecoder pieces = DecodePiecewise(c.wire, &used);
  EXPECT_EQ(pieces.GetState(), c.state) << c.what;
  EXPECT_EQ(pieces.Body(), c.body) << c.what;
  if (c.state == ChunkedBodyDecoder::State::Done) {
    EXPECT_EQ(c.wire.size() - used, c.unread) << c.what;
  }

  ChunkedBodyDecoder bulk;
  const size_t taken = bulk.Feed(c.wire.data(), c.wire.size());
  EXPECT_EQ(taken, used) << c.what;
  EXPECT_EQ(bulk.GetState(), c.state) << c.what;
  EXPECT_EQ(bulk.Body(), c.body) << c.what;
}

using State = ChunkedBodyDecoder::State;

INSTANTIATE_TEST_SUITE_P(
    Bodies, ChunkedBody,
    ::testing::Values(
        BodyCase{"one chunk", "4\r\nWiki\r\n0\r\n\r\n", State::Done, "Wiki", 2},
        BodyCase{"upper and lower hex", "A\r\n0123456789\r\nb\r\nabcdefghijk\r\n0\r\n\r\n",
                 State::Done, "0123456789abcdefghijk", 2},
        BodyCase{"extension and trailer", "5;n=v\r\nhello\r\n0;end\r\nX-T: 1\r\n\r\n",
                 State::Done, "hello", 10},
        BodyCase{"empty body", "0\r\n\r\n", State::Done, "", 0},
        BodyCase{"data with CR LF inside", "4\r\n\r\n\r\n\r\n0\r\n\r\n", State::Done,
                 "\r\n\r\n", 2},
        BodyCase{"bad size line", "4\r\nWiki\r\nzz\r\n", State::BadSizeLine, "Wiki", 0},
        BodyCase{"size line too long", "4\r\nWiki\r\n" + std::string(70, '0'),
                 State::BadSizeLine, "Wiki", 0},
        BodyCase{"no final chunk yet", "4\r\nWiki\r\n", State::SizeLine, "Wiki", 0},
        BodyCase{"data cut short", "8\r\nWiki", State::ChunkData, "Wiki", 0}));

TEST(ChunkedBodyLimit, AChunkBeyondTheLimitFailsBeforeItsData) {
  ChunkedBodyDecoder decoder;
  const std::string line = "1000001\r\n";  // 16 MiB + 1
  decoder.Feed(line.data(), line.size());
  EXPECT_EQ(decoder.GetState(), State::TooLarge);
  EXPECT_EQ(decoder.Wanted(), 0u);
  EXPECT_EQ(decoder.Feed("x", 1), 0u);
}

TEST(ChunkedBodyLimit, ManyChunksMayNotGrowPastTheLimit) {
  // Four chunks of 4 MiB fill the limit exactly; one more byte fails.
  const std::string data(4 * 1024 * 1024, 'd');
  ChunkedBodyDecoder decoder;
  for (int i = 0; i < 4; ++i) {
    const std::string chunk = "400000\r\n" + data + "\r\n";
    ASSERT_EQ(decoder.Feed(chunk.data(), chunk.size()), chunk.size());
  }
  EXPECT_EQ(decoder.Body().size(), static_cast<size_t>(HTTP_BODY_LIMIT));
  EXPECT_EQ(decoder.GetState(), State::SizeLine);
  const std::string last = "1\r\nx\r\n0\r\n\r\n";
  decoder.Feed(last.data(), last.size());
  EXPECT_EQ(decoder.GetState(), State::TooLarge);
  EXPECT_EQ(decoder.Body().size(), static_cast<size_t>(HTTP_BODY_LIMIT));
}

TEST(ChunkedBodyLimit, ABodyOfExactlyTheLimitCompletes) {
  const std::string wire = "1000000\r\n" + std::string(16 * 1024 * 1024, 'e') + "\r\n0\r\n\r\n";
  ChunkedBodyDecoder decoder;
  decoder.Feed(wire.data(), wire.size());
  EXPECT_EQ(decoder.GetState(), State::Done);
  EXPECT_EQ(decoder.Body().size(), static_cast<size_t>(HTTP_BODY_LIMIT));
}

TEST(ChunkedBodyWanted, AsksOneByteForLinesAndTheRestOfAChunkForData) {
  ChunkedBodyDecoder decoder;
  EXPECT_EQ(decoder.Wanted(), 1u);
  decoder.Feed("1", 1);
  EXPECT_EQ(decoder.Wanted(), 1u);
  decoder.Feed("0\r\n", 3);
  EXPECT_EQ(decoder.Wanted(), 16u);
  decoder.Feed("0123456", 7);
  EXPECT_EQ(decoder.Wanted(), 9u);
}

}  // namespace
