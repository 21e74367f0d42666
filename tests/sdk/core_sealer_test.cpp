// Sealing and opening buffers with the development key pair.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/base64.h"
#include "vexa/core/sealer.h"

namespace {

std::string Der(const char* base64) {
  std::string der;
  EXPECT_TRUE(Base64Decode(base64, der));
  return der;
}

class SdkSealer : public ::testing::Test {
 protected:
  const std::string publicKey = Der(TESSARO_TEST_PUBLIC_KEY);
  const std::string privateKey = Der(TESSARO_TEST_PRIVATE_KEY);
};

TEST_F(SdkSealer, DataOfEverySizeComesBackUnchanged) {
  for (size_t size : {0u, 1u, 15u, 16u, 17u, 32u, 33u, 1000u, 100000u}) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>(i * 7 + 3);
    std::string sealed, opened;
    ASSERT_TRUE(SealData(publicKey, 7, "/v1.1", data, sealed)) << size;
    if (size >= 16) {
      EXPECT_EQ(sealed.find(data.substr(0, 16)), std::string::npos) << "plain text visible";
    }
    ASSERT_TRUE(UnsealData(privateKey, sealed, opened)) << size;
    EXPECT_EQ(opened, data) << size;
  }
}

TEST_F(SdkSealer, TheEnvelopeCarriesItsHeadAndIsFreshEachTime) {
  std::string first, second;
  ASSERT_TRUE(SealData(publicKey, 0x01020304, "/v1.1", "same", first));
  ASSERT_TRUE(SealData(publicKey, 0x01020304, "/v1.1", "same", second));
  EXPECT_EQ(first.substr(0, 4), "VXS1");
  EXPECT_EQ(first.substr(4, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(first.substr(8, 7), std::string("\x05\x00/v1.1", 7));
  EXPECT_EQ(first.substr(15, 2), std::string("\x00\x01", 2));  // 256-byte wrapped key
  EXPECT_NE(first, second);
}

TEST_F(SdkSealer, AlteredOrCutEnvelopesDoNotOpen) {
  std::string sealed, opened = "untouched";
  ASSERT_TRUE(SealData(publicKey, 1, "/v1.1", std::string(100, 'x'), sealed));
  // Magic, selector, version, wrapped key, IV, first and last ciphertext byte.
  for (size_t at : {size_t{0}, size_t{5}, size_t{10}, size_t{100}, size_t{17 + 256 + 3}, size_t{17 + 256 + 16},
                    sealed.size() - 1}) {
    std::string altered = sealed;
    altered[at] = static_cast<char>(altered[at] ^ 0x20);
    EXPECT_FALSE(UnsealData(privateKey, altered, opened)) << "byte " << at;
    EXPECT_TRUE(opened.empty());
  }
  EXPECT_FALSE(UnsealData(privateKey, sealed.substr(0, sealed.size() - 16), opened));
  EXPECT_FALSE(UnsealData(privateKey, sealed.substr(0, 20), opened));
  EXPECT_FALSE(UnsealData(privateKey, "", opened));
  EXPECT_FALSE(UnsealData(privateKey, sealed + "x", opened));
}

TEST_F(SdkSealer, OnlyKeysOfTheRightKindAreUsable) {
  EXPECT_TRUE(IsUsablePublicKey(publicKey));
  EXPECT_TRUE(IsUsablePrivateKey(privateKey));
  EXPECT_FALSE(IsUsablePublicKey(privateKey));
  EXPECT_FALSE(IsUsablePrivateKey(publicKey));
  EXPECT_FALSE(IsUsablePublicKey(""));
  EXPECT_FALSE(IsUsablePrivateKey(publicKey.substr(0, 100)));
  std::string sealed;
  EXPECT_FALSE(SealData("", 1, "/v1.1", "data", sealed));
  EXPECT_FALSE(SealData(privateKey, 1, "/v1.1", "data", sealed));
  ASSERT_TRUE(SealData(publicKey, 1, "/v1.1", "data", sealed));
  std::string opened;
  EXPECT_FALSE(UnsealData("", sealed, opened));
}

}  // namespace
