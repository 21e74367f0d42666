#include "vexa/core/sealer.h"

#include <windows.h>

#include <wincrypt.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "sys/system_library.h"
#include "sys/unique_handle.h"

// Declared by newer SDK headers only (XP SP3 and later provide it).
#ifndef CALG_SHA_256
#define CALG_SHA_256 (ALG_CLASS_HASH | ALG_TYPE_ANY | 12)
#endif

namespace {

constexpr char kMagic[4] = {'V', 'X', 'S', '1'};
constexpr size_t kSessionKeyBytes = 32;
constexpr size_t kIvBytes = 16;
constexpr size_t kDigestBytes = 32;
constexpr size_t kMaxDataBytes = 256u * 1024 * 1024;
constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

// crypt32 is not one of the libraries Windows always takes from the system
// folder, so it is reached at run time, by full path, never imported.
BOOL DecodeObject(LPCSTR structType, const std::string& der, void* decoded, DWORD* size) {
  static const auto decode = SystemFunctionAs<decltype(&::CryptDecodeObjectEx)>(L"crypt32.dll", "CryptDecodeObjectEx");
  if (!decode || der.empty()) return FALSE;
  return decode(kEncoding, structType, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()),
                CRYPT_DECODE_ALLOC_FLAG, nullptr, decoded, size);
}

BOOL ImportPublicKeyInfo(HCRYPTPROV provider, CERT_PUBLIC_KEY_INFO* info, HCRYPTKEY* key) {
  static const auto import =
      SystemFunctionAs<decltype(&::CryptImportPublicKeyInfo)>(L"crypt32.dll", "CryptImportPublicKeyInfo");
  return import ? import(provider, kEncoding, info, key) : FALSE;
}

UniqueCryptProvider AcquireAesProvider() {
  HCRYPTPROV raw = 0;
  if (!::CryptAcquireContextW(&raw, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) return {};
  return UniqueCryptProvider(raw);
}

UniqueCryptKey ImportPublicKey(HCRYPTPROV provider, const std::string& der) {
  CERT_PUBLIC_KEY_INFO* info = nullptr;
  DWORD size = 0;
  if (!DecodeObject(X509_PUBLIC_KEY_INFO, der, &info, &size)) return {};
  HCRYPTKEY key = 0;
  const BOOL imported = ImportPublicKeyInfo(provider, info, &key);
  ::LocalFree(info);
  return imported ? UniqueCryptKey(key) : UniqueCryptKey();
}

UniqueCryptKey ImportPrivateKey(HCRYPTPROV provider, const std::string& der) {
  BYTE* blob = nullptr;
  DWORD size = 0;
  // Decoding PKCS#1 gives a PRIVATEKEYBLOB ready for CryptImportKey.
  if (!DecodeObject(PKCS_RSA_PRIVATE_KEY, der, &blob, &size)) return {};
  HCRYPTKEY key = 0;
  const BOOL imported = ::CryptImportKey(provider, blob, size, 0, 0, &key);
  ::SecureZeroMemory(blob, size);
  ::LocalFree(blob);
  return imported ? UniqueCryptKey(key) : UniqueCryptKey();
}

UniqueCryptKey ImportSessionKey(HCRYPTPROV provider, const std::string& keyBytes, const std::string& iv) {
  struct {
    BLOBHEADER header;
    DWORD size;
    BYTE key[kSessionKeyBytes];
  } blob = {};
  blob.header.bType = PLAINTEXTKEYBLOB;
  blob.header.bVersion = CUR_BLOB_VERSION;
  blob.header.aiKeyAlg = CALG_AES_256;
  blob.size = kSessionKeyBytes;
  std::memcpy(blob.key, keyBytes.data(), kSessionKeyBytes);
  HCRYPTKEY raw = 0;
  const BOOL imported = ::CryptImportKey(provider, reinterpret_cast<const BYTE*>(&blob), sizeof(blob), 0, 0, &raw);
  ::SecureZeroMemory(&blob, sizeof(blob));
  if (!imported) return {};
  UniqueCryptKey key(raw);
  DWORD mode = CRYPT_MODE_CBC;
  if (!::CryptSetKeyParam(key.get(), KP_MODE, reinterpret_cast<const BYTE*>(&mode), 0) ||
      !::CryptSetKeyParam(key.get(), KP_IV, reinterpret_cast<const BYTE*>(iv.data()), 0)) {
    return {};
  }
  return key;
}

bool Sha256(HCRYPTPROV provider, const std::string& bytes, std::string& digest) {
  HCRYPTHASH raw = 0;
  if (!::CryptCreateHash(provider, CALG_SHA_256, 0, 0, &raw)) return false;
  UniqueCryptHash hash(raw);
  if (!::CryptHashData(hash.get(), reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0)) {
    return false;
  }
  digest.assign(kDigestBytes, '\0');
  DWORD size = kDigestBytes;
  return ::CryptGetHashParam(hash.get(), HP_HASHVAL, reinterpret_cast<BYTE*>(&digest[0]), &size, 0) &&
         size == kDigestBytes;
}

bool RandomBytes(HCRYPTPROV provider, size_t count, std::string& bytes) {
  bytes.assign(count, '\0');
  return ::CryptGenRandom(provider, static_cast<DWORD>(count), reinterpret_cast<BYTE*>(&bytes[0])) != FALSE;
}

// RSA-encrypts the session key; CryptoAPI gives the result least
// significant byte first, the envelope keeps the usual order.
bool WrapSessionKey(HCRYPTKEY publicKey, const std::string& sessionKey, std::string& wrapped) {
  DWORD keyBits = 0;
  DWORD size = sizeof(keyBits);
  if (!::CryptGetKeyParam(publicKey, KP_KEYLEN, reinterpret_cast<BYTE*>(&keyBits), &size, 0)) return false;
  const DWORD modulusBytes = keyBits / 8;
  if (modulusBytes < 128 || modulusBytes > 2048) return false;
  wrapped.assign(modulusBytes, '\0');
  std::memcpy(&wrapped[0], sessionKey.data(), sessionKey.size());
  DWORD length = static_cast<DWORD>(sessionKey.size());
  if (!::CryptEncrypt(publicKey, 0, TRUE, 0, reinterpret_cast<BYTE*>(&wrapped[0]), &length, modulusBytes) ||
      length != modulusBytes) {
    return false;
  }
  std::reverse(wrapped.begin(), wrapped.end());
  return true;
}

bool UnwrapSessionKey(HCRYPTKEY privateKey, std::string wrapped, std::string& sessionKey) {
  std::reverse(wrapped.begin(), wrapped.end());
  DWORD length = static_cast<DWORD>(wrapped.size());
  if (!::CryptDecrypt(privateKey, 0, TRUE, 0, reinterpret_cast<BYTE*>(&wrapped[0]), &length) ||
      length != kSessionKeyBytes) {
    return false;
  }
  sessionKey.assign(wrapped.data(), kSessionKeyBytes);
  return true;
}

void AppendLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Reads the envelope's fields front to back; every read checks the length.
class EnvelopeReader {
 public:
  explicit EnvelopeReader(const std::string& bytes) : bytes_(bytes) {}
  bool Take(size_t count, std::string& out) {
    if (bytes_.size() - at_ < count) return false;
    out.assign(bytes_, at_, count);
    at_ += count;
    return true;
  }
  bool TakeNumber(int bytes, uint32_t& value) {
    std::string raw;
    if (!Take(static_cast<size_t>(bytes), raw)) return false;
    value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(raw[static_cast<size_t>(i)]);
    return true;
  }
  size_t Position() const { return at_; }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
};

}  // namespace

bool SealData(const std::string& publicKeyDer, int32_t selector, const std::string& version,
              const std::string& data, std::string& sealed) {
  sealed.clear();
  if (data.size() > kMaxDataBytes || version.size() > 0xFFFF) return false;
  UniqueCryptProvider provider = AcquireAesProvider();
  if (!provider) return false;
  UniqueCryptKey publicKey = ImportPublicKey(provider.get(), publicKeyDer);
  std::string sessionKey, iv, wrapped, digest;
  if (!publicKey || !RandomBytes(provider.get(), kSessionKeyBytes, sessionKey) ||
      !RandomBytes(provider.get(), kIvBytes, iv) || !WrapSessionKey(publicKey.get(), sessionKey, wrapped)) {
    return false;
  }
  std::string head(kMagic, sizeof(kMagic));
  AppendLittleEndian(head, static_cast<uint32_t>(selector), 4);
  AppendLittleEndian(head, static_cast<uint32_t>(version.size()), 2);
  head += version;
  AppendLittleEndian(head, static_cast<uint32_t>(wrapped.size()), 2);
  head += wrapped;
  head += iv;
  if (!Sha256(provider.get(), head + data, digest)) return false;
  UniqueCryptKey sessionHandle = ImportSessionKey(provider.get(), sessionKey, iv);
  ::SecureZeroMemory(&sessionKey[0], sessionKey.size());
  if (!sessionHandle) return false;
  std::string body = data + digest;
  const size_t plainSize = body.size();
  body.resize(plainSize + kIvBytes);  // room for the padding block
  DWORD length = static_cast<DWORD>(plainSize);
  if (!::CryptEncrypt(sessionHandle.get(), 0, TRUE, 0, reinterpret_cast<BYTE*>(&body[0]), &length,
                      static_cast<DWORD>(body.size()))) {
    return false;
  }
  body.resize(length);
  sealed = head + body;
  return true;
}

bool UnsealData(const std::string& privateKeyDer, const std::string& sealed, std::string& data) {
  data.clear();
  EnvelopeReader reader(sealed);
  std::string magic, version, wrapped, iv, body;
  uint32_t selector = 0, versionLength = 0, wrappedLength = 0;
  if (!reader.Take(sizeof(kMagic), magic) || magic != std::string(kMagic, sizeof(kMagic)) ||
      !reader.TakeNumber(4, selector) || !reader.TakeNumber(2, versionLength) || !reader.Take(versionLength, version) ||
      !reader.TakeNumber(2, wrappedLength) || !reader.Take(wrappedLength, wrapped) || !reader.Take(kIvBytes, iv)) {
    return false;
  }
  const size_t headLength = reader.Position();
  if (!reader.Take(sealed.size() - headLength, body) || body.empty() || body.size() % kIvBytes != 0) return false;
  UniqueCryptProvider provider = AcquireAesProvider();
  if (!provider) return false;
  UniqueCryptKey privateKey = ImportPrivateKey(provider.get(), privateKeyDer);
  std::string sessionKey;
  if (!privateKey || !UnwrapSessionKey(privateKey.get(), wrapped, sessionKey)) return false;
  UniqueCryptKey sessionHandle = ImportSessionKey(provider.get(), sessionKey, iv);
  ::SecureZeroMemory(&sessionKey[0], sessionKey.size());
  DWORD length = static_cast<DWORD>(body.size());
  if (!sessionHandle || !::CryptDecrypt(sessionHandle.get(), 0, TRUE, 0, reinterpret_cast<BYTE*>(&body[0]), &length) ||
      length < kDigestBytes) {
    return false;
  }
  body.resize(length);
  const std::string plain = body.substr(0, length - kDigestBytes);
  std::string digest;
  if (!Sha256(provider.get(), sealed.substr(0, headLength) + plain, digest) ||
      digest != body.substr(length - kDigestBytes)) {
    return false;
  }
  data = plain;
  return true;
}

bool IsUsablePublicKey(const std::string& der) {
  UniqueCryptProvider provider = AcquireAesProvider();
  return provider && ImportPublicKey(provider.get(), der);
}

bool IsUsablePrivateKey(const std::string& der) {
  UniqueCryptProvider provider = AcquireAesProvider();
  return provider && ImportPrivateKey(provider.get(), der);
}
