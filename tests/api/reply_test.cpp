// Reading the gateway's replies: the strict package envelope, the lenient
// channel envelope, and the package request path.
#include <gtest/gtest.h>

#include <stdexcept>

#include "api/pkg_info_impl.h"
#include "api/server_info_impl.h"

namespace {

std::string ErrorOf(void (*read)(const std::string&), const std::string& body) {
  try {
    read(body);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

void ReadPackage(const std::string& body) { ReadPackageReply(body); }
void ReadChannel(const std::string& body) { ReadChannelReply(body); }

TEST(PackageReply, EnvelopeErrors) {
  const struct {
    const char* body;
    const char* error;
  } cases[] = {
      {"", "parse decrypt data error"},
      {"not json", "parse decrypt data error"},
      {"{}", "member not exist"},
      {R"({"code":"server.success"})", "member not exist"},
      {R"({"data":{}})", "member not exist"},
      {R"({"code":"server.busy","data":{}})", "request error"},
      {R"({"code":1,"data":{}})", "request error"},
      {R"({"code":"server.success","data":{}})", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    EXPECT_EQ(ErrorOf(ReadPackage, c.body), c.error);
  }
}

TEST(PackageReply, MembersAndDefaults) {
  PackageReply reply = ReadPackageReply(
      R"({"code":"server.success","data":{"downloadUrl":"http://cdn/x.exe","versionCode":"2.1.0.5",
          "size":123,"installationSize":"0","md5":"abc","softwareCode":"t"}})");
  ASSERT_EQ(reply.downloadUrls.size(), 1u);
  EXPECT_EQ(reply.downloadUrls[0].url, "http://cdn/x.exe");
  EXPECT_EQ(reply.versionCode, "2.1.0.5");
  EXPECT_EQ(reply.size, 123);
  EXPECT_EQ(reply.installationSize, DEFAULT_INSTALLATION_SIZE);
  EXPECT_EQ(reply.md5, "abc");

  reply = ReadPackageReply(R"({"code":"server.success","data":{"size":"0"}})");
  EXPECT_TRUE(reply.downloadUrls.empty());
  EXPECT_EQ(reply.size, DEFAULT_PACKAGE_SIZE);
}

TEST(PackageReply, RequestPath) {
  EXPECT_EQ(PackageQueryPath("", true),
            "/applicationService/installer/getAppVersion?appId=52718340&versionCode=0.9.0.1"
            "&packageSystemSupport=2");
  EXPECT_EQ(PackageQueryPath("1.97.0.3", false),
            "/applicationService/installer/getAppVersion?appId=52718340&versionCode=1.97.0.3"
            "&packageSystemSupport=1");
}

TEST(ChannelReply, LenientEnvelope) {
  EXPECT_EQ(ErrorOf(ReadChannel, ""), "parse decrypt data error");
  EXPECT_EQ(ErrorOf(ReadChannel, R"({"code":5,"data":{}})"), "request error");
  for (const char* body : {"{}", R"({"code":"server.busy","data":{"welcomeUrl":"x"}})",
                           R"({"code":"server.success"})"}) {
    SCOPED_TRACE(body);
    const ChannelReply reply = ReadChannelReply(body);
    EXPECT_EQ(reply.welcomeUrl, "");
    EXPECT_FALSE(reply.wantsReport);
  }
}

TEST(ChannelReply, Members) {
  ChannelReply reply = ReadChannelReply(R"({"code":"server.success","data":{"welcomeUrl":"x"}})");
  EXPECT_EQ(reply.welcomeUrl, "x");
  EXPECT_EQ(reply.appId, "");
  EXPECT_FALSE(reply.wantsReport);
  reply = ReadChannelReply(
      R"({"code":"server.success","data":{"appId":"52718340","appName":"Tessaro","nequilOcpc":1,
          "advertisingAccountName":"acc"}})");
  EXPECT_EQ(reply.appId, "52718340");
  EXPECT_EQ(reply.appName, "Tessaro");
  EXPECT_TRUE(reply.wantsReport);
  EXPECT_EQ(reply.advertisingAccountName, "acc");
  EXPECT_TRUE(ReadChannelReply(R"({"code":"server.success","data":{"nequilOcpc":true}})").wantsReport);
  EXPECT_FALSE(ReadChannelReply(R"({"code":"server.success","data":{"nequilOcpc":0}})").wantsReport);
}

}  // namespace
