// The analytics client's pure pieces: Base64, JSON texts, the record line,
// record ids and the HTTP request and reply head.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/base64.h"
#include "vexa/core/http_codec.h"
#include "vexa/core/json_text.h"
#include "vexa/core/record.h"
#include "vexa/core/record_id.h"
#include "vexa/core/upload_target.h"

namespace {

TEST(SdkBase64, EncodesAndDecodesTheStandardVectors) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
      {std::string("\x00\xFF\xFE", 3), "AP/+"}};
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(Base64Encode(bytes), text);
    std::string decoded;
    EXPECT_TRUE(Base64Decode(text, decoded)) << text;
    EXPECT_EQ(decoded, bytes) << text;
  }
}

TEST(SdkBase64, SkipsLineBreaksAndRefusesMalformedText) {
  std::string decoded;
  EXPECT_TRUE(Base64Decode("Zm9v\r\nYmFy\n", decoded));
  EXPECT_EQ(decoded, "foobar");
  for (const char* bad : {"Zm9", "Zm9v!", "Z===", "Zg==Zg==", "Zm=v", "=Zm9"}) {
    decoded = "left over";
    EXPECT_FALSE(Base64Decode(bad, decoded)) << bad;
    EXPECT_TRUE(decoded.empty()) << bad;
  }
}

std::string Json(const std::string& text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

TEST(SdkJsonText, EscapesAndRepairsEveryKindOfInput) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain", "\"plain\""},
      {"q\"b\\s/", "\"q\\\"b\\\\s/\""},
      {"a\nb\rc\td", "\"a\\nb\\rc\\td\""},
      {std::string("\x01\x1F\x7F", 3), "\"\\u0001\\u001f\\u007f\""},
      {std::string("nul\0in", 6), "\"nul\\u0000in\""},
      {"\xE4\xB8\xAD\xF0\x9F\x98\x80", "\"\xE4\xB8\xAD\xF0\x9F\x98\x80\""},  // kept as UTF-8
      {"a\xFFz", "\"a\xEF\xBF\xBDz\""},                                    // stray byte
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                         // overlong '/'
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},         // surrogate
      {"\xE4\xB8", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                         // cut short at the end
      {"\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // above U+10FFFF
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(Json(input), expected);
}

TEST(SdkRecord, SerialisesEventsWithPropertiesInCallOrder) {
  Record record(6, {"52718340", "win_installer", "0123abcd"});
  record.WriteEvent("vSoftQuit", 123456);
  record.AddStringProperty("event_name", "\xE8\xBD\xAF\xE4\xBB\xB6");
  record.AddIntProperty("download_time", -3);
  record.AddBoolProperty("is_first_install", true);
  record.AddBoolProperty("is_reinstall", false);
  EXPECT_EQ(record.ToJsonLine("id-1", 1700000000),
            "{\"v\":1,\"id\":\"id-1\",\"kind\":6,\"time\":1700000000,"
            "\"app\":{\"id\":\"52718340\",\"name\":\"win_installer\"},\"mid\":\"0123abcd\","
            "\"event\":{\"name\":\"vSoftQuit\",\"seq\":123456},\"properties\":["
            "{\"key\":\"event_name\",\"type\":\"string\",\"value\":\"\xE8\xBD\xAF\xE4\xBB\xB6\"},"
            "{\"key\":\"download_time\",\"type\":\"int\",\"value\":-3},"
            "{\"key\":\"is_first_install\",\"type\":\"bool\",\"value\":true},"
            "{\"key\":\"is_reinstall\",\"type\":\"bool\",\"value\":false}],\"fields\":[]}\n");
}

TEST(SdkRecord, SerialisesFieldsInCallOrderWithBytesInBase64) {
  Record record(4, {"a", "b", "m"});
  record.WriteInt(50, 4);
  record.WriteData(51, "0001");
  record.WriteData(55, std::string("C:\\\xB2\xE2\x00", 6));  // ANSI path bytes, even a NUL
  record.WriteData(55, "");
  EXPECT_EQ(record.ToJsonLine("x", 5),
            "{\"v\":1,\"id\":\"x\",\"kind\":4,\"time\":5,\"app\":{\"id\":\"a\",\"name\":\"b\"},\"mid\":\"m\","
            "\"properties\":[],\"fields\":["
            "{\"id\":50,\"type\":\"int\",\"value\":4},"
            "{\"id\":51,\"type\":\"data\",\"base64\":\"MDAwMQ==\"},"
            "{\"id\":55,\"type\":\"data\",\"base64\":\"QzpcsuIA\"},"
            "{\"id\":55,\"type\":\"data\",\"base64\":\"\"}]}\n");
}

TEST(SdkRecord, DropsValuesTooLargeForAnyBatch) {
  Record record(2, {});
  record.WriteData(10, std::string(Record::kMaxValueBytes + 1, 'x'));
  record.AddStringProperty("k", std::string(Record::kMaxValueBytes + 1, 'x'));
  EXPECT_EQ(record.ToJsonLine("i", 1).find("xxxx"), std::string::npos);
}

TEST(SdkRecordId, IdsAreUniqueHexAndSortInOrderOfMaking) {
  std::vector<std::string> ids;
  for (int i = 0; i < 2000; ++i) ids.push_back(NewRecordId());
  for (const std::string& id : ids) {
    ASSERT_EQ(id.size(), 40u);
    ASSERT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
  }
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
  // The random part is the same within a process.
  EXPECT_EQ(ids.front().substr(24), ids.back().substr(24));
}

TEST(SdkHttpCodec, BuildsAPostWithLengthAndHost) {
  UploadTarget target{"collector.local", 8080, "/sa?project=production"};
  EXPECT_EQ(BuildPostRequest(target, "{}\n", "application/x-ndjson"),
            "POST /sa?project=production HTTP/1.1\r\nHost: collector.local:8080\r\nUser-Agent: Vexa/1.0\r\n"
            "Content-Type: application/x-ndjson\r\nContent-Length: 3\r\nConnection: close\r\n\r\n{}\n");
  target.port = 80;
  EXPECT_NE(BuildPostRequest(target, "", "t").find("Host: collector.local\r\n"), std::string::npos);
}

TEST(SdkHttpCodec, ReadsTheStatusOfAReplyHead) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"HTTP/1.1 200 OK\r\n\r\n", 200}, {"HTTP/1.0 503 Busy\r\n", 503}, {"HTTP/1.1 204\r\n", 204},
      {"HTTP/1.1 2000 OK\r\n", 0},      {"HTTP/2.0 200 OK\r\n", 0},     {"HTTP/1.1 20x OK\r\n", 0},
      {"HTTP/1.1 099 Low\r\n", 0},      {"ICY 200 OK\r\n", 0},          {"", 0}};
  for (const auto& [head, status] : cases) EXPECT_EQ(ReplyStatus(head), status) << head;
  EXPECT_EQ(ReplyHeadEnd("HTTP/1.1 200 OK\r\nA: b\r\n"), std::string::npos);
  EXPECT_EQ(ReplyHeadEnd("HTTP/1.1 200 OK\r\n\r\nbody"), 19u);
}

TEST(SdkUploadTarget, RefusesWhatCannotGoIntoARequestHead) {
  EXPECT_TRUE((UploadTarget{"127.0.0.1", 80, "/sa?project=production"}.Complete()));
  EXPECT_FALSE((UploadTarget{"", 80, "/"}.Complete()));
  EXPECT_FALSE((UploadTarget{"host name", 80, "/"}.Complete()));
  EXPECT_FALSE((UploadTarget{"host\r\nX: y", 80, "/"}.Complete()));
  EXPECT_FALSE((UploadTarget{"user@host", 80, "/"}.Complete()));
  EXPECT_FALSE((UploadTarget{"host", 0, "/"}.Complete()));
  EXPECT_FALSE((UploadTarget{"host", 65536, "/"}.Complete()));
  EXPECT_FALSE((UploadTarget{"host", 80, "sa"}.Complete()));
  EXPECT_FALSE((UploadTarget{"host", 80, "/a b"}.Complete()));
  EXPECT_FALSE((UploadTarget{"host", 80, "/a\r\nX: y"}.Complete()));
}

}  // namespace
