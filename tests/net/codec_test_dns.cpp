// The own resolver's query bytes and reply parsing, including replies that
// try to lead the parser out of the datagram or round in circles.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "net/codec/dns_query.h"
#include "net/codec/dns_reply.h"
#include "net/codec/ipv4_text.h"

namespace {

using Bytes = std::vector<uint8_t>;

// ---- query ----

TEST(DnsQueryBytes, MatchesTheQueryLayout) {
  const Bytes expected = {
      0x34, 0x12,              // ID: low 16 bits of 0xABCD1234, little-endian
      0x01, 0x00,              // standard query, recursion desired
      0x00, 0x01, 0x00, 0x00,  // QDCOUNT 1, ANCOUNT 0
      0x00, 0x00, 0x00, 0x00,  // NSCOUNT 0, ARCOUNT 0
      4,    'm',  'a',  'i',  'l', 7, 'e', 'x', 'a', 'm', 'p', 'l', 'e', 3, 'o', 'r', 'g', 0,
      0x00, 0x01,  // QTYPE A
      0x00, 0x01,  // QCLASS IN
  };
  const Bytes query = BuildDnsQuery(0xABCD1234u, "mail.example.org");
  EXPECT_EQ(query, expected);
  EXPECT_EQ(query.size(), DNS_QUERY_FIXED_BYTES + 17);  // n = 17 encoded name bytes
}

TEST(DnsQueryBytes, OneTrailingDotIsTheSameName) {
  EXPECT_EQ(BuildDnsQuery(7, "example.org."), BuildDnsQuery(7, "example.org"));
}

TEST(DnsQueryBytes, RefusesNamesThatCannotBeEncoded) {
  const std::string label63(63, 'a');
  EXPECT_FALSE(BuildDnsQuery(1, label63 + ".org").empty());
  // 4 labels of 63 bytes: 4 * 64 + 1 = 257 encoded bytes.
  const std::string tooLong = label63 + "." + label63 + "." + label63 + "." + label63;
  for (const std::string& name :
       {std::string(), std::string("."), std::string("a..b"), std::string(".a"),
        std::string("a.."), label63 + "a.org", tooLong}) {
    EXPECT_TRUE(BuildDnsQuery(1, name).empty()) << name;
  }
}

// ---- reply ----

// A reply to the query for "a.example" (answers start at query.size()),
// built record by record.
class DnsReply {
 public:
  DnsReply() : bytes(BuildDnsQuery(0x1234, "a.example")), answerOffset(bytes.size()) {
    bytes[2] = 0x81;  // response, recursion desired
    bytes[3] = 0x80;
  }

  DnsReply& AnswerCount(uint16_t count) {
    bytes[6] = static_cast<uint8_t>(count >> 8);
    bytes[7] = static_cast<uint8_t>(count & 0xFF);
    return *this;
  }

  // A record whose owner name points at the question name (offset 12).
  DnsReply& Record(uint16_t type, const Bytes& data) {
    Append({0xC0, 0x0C});
    Append({static_cast<uint8_t>(type >> 8), static_cast<uint8_t>(type), 0x00, 0x01});
    Append({0x00, 0x00, 0x0E, 0x10});  // TTL
    Append({static_cast<uint8_t>(data.size() >> 8), static_cast<uint8_t>(data.size())});
    Append(data);
    return *this;
  }

  DnsReply& A(uint8_t a, uint8_t b, uint8_t c, uint8_t d) { return Record(1, {a, b, c, d}); }

  DnsReply& Append(const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }

  bool Parse(DnsResult* result) const {
    return ParseDnsReply(bytes.data(), bytes.size(), answerOffset, result);
  }

  Bytes bytes;
  size_t answerOffset;
};

uint32_t Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  uint32_t value = 0;
  const uint8_t bytes[4] = {a, b, c, d};
  std::memcpy(&value, bytes, 4);
  return value;
}

// "\x03cdn\xC0\x0C": cdn.a.example, as a CNAME's data.
const Bytes CNAME_DATA = {3, 'c', 'd', 'n', 0xC0, 0x0C};

TEST(DnsReplyParse, CnameThenTwoAddressesGivesBothInOrder) {
  DnsReply reply;
  reply.AnswerCount(3).Record(5, CNAME_DATA).A(10, 0, 0, 1).A(10, 0, 0, 2);
  DnsResult result;
  ASSERT_TRUE(reply.Parse(&result));
  ASSERT_EQ(result.count, 2);
  EXPECT_EQ(result.addresses[0], Address(10, 0, 0, 1));
  EXPECT_EQ(result.addresses[1], Address(10, 0, 0, 2));
}

TEST(DnsReplyParse, ReadsAtMostTwentyAnswers) {
  DnsReply reply;
  reply.AnswerCount(25);
  for (uint8_t i = 1; i <= 25; ++i) reply.A(192, 0, 2, i);
  DnsResult result;
  ASSERT_TRUE(reply.Parse(&result));
  ASSERT_EQ(result.count, DNS_MAX_ADDRESSES);
  EXPECT_EQ(result.addresses[19], Address(192, 0, 2, 20));

  // The 21st answer is not read, so damage there does not matter.
  DnsReply damaged;
  damaged.AnswerCount(25);
  for (uint8_t i = 1; i <= 20; ++i) damaged.A(192, 0, 2, i);
  damaged.Append({0xC0, 0xFF});
  ASSERT_TRUE(damaged.Parse(&result));
  EXPECT_EQ(result.count, DNS_MAX_ADDRESSES);
}

TEST(DnsReplyParse, OnlyCnameOrNoAnswerFindsNothing) {
  DnsReply onlyCname;
  onlyCname.AnswerCount(1).Record(5, CNAME_DATA);
  DnsResult result;
  EXPECT_FALSE(onlyCname.Parse(&result));
  EXPECT_EQ(result.count, 0);

  DnsReply empty;
  EXPECT_FALSE(empty.Parse(&result));
}

TEST(DnsReplyParse, CompressedNamesInAnswersAreFollowed) {
  // The CNAME's data ends in a pointer to the question; the A record's owner
  // is a pointer to the CNAME's data.
  DnsReply reply;
  reply.AnswerCount(2).Record(5, CNAME_DATA);
  const size_t cnameData = reply.bytes.size() - CNAME_DATA.size();
  reply.Append({0xC0, static_cast<uint8_t>(cnameData), 0, 1, 0, 1, 0, 0, 0, 60, 0, 4, 1, 2, 3, 4});
  DnsResult result;
  ASSERT_TRUE(reply.Parse(&result));
  EXPECT_EQ(result.count, 1);
  EXPECT_EQ(result.addresses[0], Address(1, 2, 3, 4));

  std::string name;
  size_t wire = 0;
  ASSERT_TRUE(ReadDnsName(reply.bytes.data(), reply.bytes.size(), cnameData, &name, &wire));
  EXPECT_EQ(name, "cdn.a.example");
  EXPECT_EQ(wire, CNAME_DATA.size());
}

struct BadReply {
  const char* what;
  DnsReply reply;
};

BadReply Bad(const char* what, DnsReply reply) { return BadReply{what, reply}; }

// Each reply carries a good A record first: a malformed reply fails whole.
std::vector<BadReply> BadReplies() {
  std::vector<BadReply> cases;
  auto start = [] {
    DnsReply r;
    r.AnswerCount(2).A(10, 0, 0, 1);
    return r;
  };
  {
    DnsReply r = start();
    const size_t at = r.bytes.size();
    r.Append({0xC0, static_cast<uint8_t>(at)});  // points at itself
    cases.push_back(Bad("pointer to itself", r));
  }
  {
    DnsReply r = start();
    const size_t at = r.bytes.size();
    // Label "x", then a pointer back to that label: grows until too long.
    r.Append({1, 'x', 0xC0, static_cast<uint8_t>(at)});
    cases.push_back(Bad("pointer loop through a label", r));
  }
  {
    DnsReply r = start();
    const size_t at = r.bytes.size();
    // Two pointers pointing at each other.
    r.Append({0xC0, static_cast<uint8_t>(at + 2), 0xC0, static_cast<uint8_t>(at)});
    cases.push_back(Bad("two pointers in a loop", r));
  }
  {
    DnsReply r = start();
    r.Append({0xC0, 0xFF, 0, 1, 0, 1, 0, 0, 0, 1, 0, 4, 1, 1, 1, 1});
    cases.push_back(Bad("pointer beyond the datagram", r));
  }
  {
    DnsReply r = start();
    r.Append({0xC1});  // pointer cut after its first byte
    cases.push_back(Bad("datagram ends inside a pointer", r));
  }
  {
    DnsReply r = start();
    r.Append({0xC0, 0x0C, 0, 1, 0, 1, 0, 0});  // fixed fields cut short
    cases.push_back(Bad("datagram ends inside the record", r));
  }
  {
    DnsReply r = start();
    r.Append({0xC0, 0x0C, 0, 1, 0, 1, 0, 0, 0, 1, 0, 4, 9, 9});  // 2 of 4 data bytes
    cases.push_back(Bad("datagram ends inside the data", r));
  }
  {
    DnsReply r = start();
    r.Append({5, 'a', 'b'});  // label longer than what is left
    cases.push_back(Bad("label beyond the datagram", r));
  }
  {
    DnsReply r = start();
    r.Record(1, {9, 9, 9, 9, 9});
    cases.push_back(Bad("A record with 5 data bytes", r));
  }
  {
    DnsReply r = start();
    r.Append({64, 'x'});
    cases.push_back(Bad("label length 64", r));
  }
  {
    // 5 labels of 60 bytes decode to 304 bytes.
    DnsReply r = start();
    for (int i = 0; i < 5; ++i) {
      r.Append({60});
      r.Append(Bytes(60, 'n'));
    }
    r.Append({0, 0, 1, 0, 1, 0, 0, 0, 1, 0, 4, 1, 1, 1, 1});
    cases.push_back(Bad("name over 255 bytes", r));
  }
  {
    // A CNAME whose data is a long label that then points back to itself.
    DnsReply r = start();
    r.Append({0xC0, 0x0C, 0, 5, 0, 1, 0, 0, 0, 1, 0, 62, 60});
    const size_t label = r.bytes.size() - 1;
    r.Append(Bytes(60, 'c'));
    r.Append({0xC0, static_cast<uint8_t>(label)});
    cases.push_back(Bad("CNAME data that loops", r));
  }
  {
    DnsReply r;
    r.AnswerCount(1);
    r.answerOffset = r.bytes.size() + 1;
    cases.push_back(Bad("reply shorter than the question", r));
  }
  {
    DnsReply r;
    r.bytes.resize(11);
    r.answerOffset = 12;
    cases.push_back(Bad("reply shorter than a header", r));
  }
  return cases;
}

TEST(DnsReplyParse, MalformedRepliesFailTheQuery) {
  for (const BadReply& bad : BadReplies()) {
    DnsResult result;
    result.count = 99;
    EXPECT_FALSE(bad.reply.Parse(&result)) << bad.what;
    EXPECT_EQ(result.count, 0) << bad.what;
  }
}

TEST(DnsReplyParse, NameOfExactly255BytesIsAccepted) {
  // 4 labels: 63 + 63 + 63 + 63 bytes and 3 dots = 255.
  Bytes message;
  for (int i = 0; i < 4; ++i) {
    message.push_back(63);
    message.insert(message.end(), 63, 'z');
  }
  message.push_back(0);
  std::string name;
  size_t wire = 0;
  ASSERT_TRUE(ReadDnsName(message.data(), message.size(), 0, &name, &wire));
  EXPECT_EQ(name.size(), 255u);
  EXPECT_EQ(wire, message.size());

  message.insert(message.end() - 1, {1, 'z'});  // one more label: 257
  EXPECT_FALSE(ReadDnsName(message.data(), message.size(), 0, &name, &wire));
}

// ---- dotted-decimal text ----

struct Ipv4Case {
  const char* text;
  bool valid;
  uint32_t address;
};

class Ipv4Text : public ::testing::TestWithParam<Ipv4Case> {};

TEST_P(Ipv4Text, AcceptsOnlyFourGroupsUpTo255) {
  uint32_t address = 0xDEADBEEF;
  EXPECT_EQ(IsValidIPv4(GetParam().text, &address), GetParam().valid);
  EXPECT_EQ(address, GetParam().valid ? GetParam().address : 0xDEADBEEF);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Ipv4Text,
    ::testing::Values(Ipv4Case{"114.114.114.114", true, Address(114, 114, 114, 114)},
                      Ipv4Case{"0.0.0.0", true, 0},
                      Ipv4Case{"255.255.255.255", true, 0xFFFFFFFFu},
                      Ipv4Case{"1.2.3.4", true, Address(1, 2, 3, 4)},
                      Ipv4Case{"010.001.0.7", true, Address(10, 1, 0, 7)},
                      Ipv4Case{"114.114.114", false, 0}, Ipv4Case{"1.2.3.256", false, 0},
                      Ipv4Case{"1.2.3.4.5", false, 0}, Ipv4Case{"1.2.3.4.", false, 0},
                      Ipv4Case{".1.2.3", false, 0}, Ipv4Case{"1..2.3", false, 0},
                      Ipv4Case{"1.2.3.", false, 0}, Ipv4Case{"", false, 0},
                      Ipv4Case{" 1.2.3.4", false, 0}, Ipv4Case{"1.2.3.-4", false, 0},
                      Ipv4Case{"1.2.3.4x", false, 0}, Ipv4Case{"example.org", false, 0},
                      Ipv4Case{"99999999999.1.1.1", false, 0}));

TEST(Ipv4TextOut, WritesDottedDecimal) {
  char buffer[16];
  for (const char* text : {"0.0.0.0", "1.2.3.4", "10.0.100.9", "255.255.255.255"}) {
    uint32_t address = 0;
    ASSERT_TRUE(IsValidIPv4(text, &address));
    EXPECT_EQ(AddressToText(address, buffer, sizeof(buffer)), buffer);
    EXPECT_STREQ(buffer, text);
  }
}

TEST(Ipv4TextOut, RefusesABufferUnder16Bytes) {
  char buffer[15] = "untouched";
  EXPECT_EQ(AddressToText(0xFFFFFFFFu, buffer, sizeof(buffer)), nullptr);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(AddressToText(0, nullptr, 64), nullptr);
}

}  // namespace
