// Sealing a buffer for one RSA key holder and opening it again: a random
// AES-256 session key encrypts the data, and the recipient's RSA public key
// encrypts the session key. Envelope layout (all integers little-endian):
//
//   "VXS1"                  4 bytes, magic
//   selector                4 bytes, the caller's number, kept as given
//   version length, text    2 bytes, then that many bytes (e.g. "/v1.1")
//   wrapped key length      2 bytes (256 for a 2048-bit key), then the
//                           session key encrypted with RSA PKCS#1 v1.5,
//                           most significant byte first (the usual order)
//   IV                      16 bytes
//   ciphertext              AES-256-CBC, PKCS#7 padding, of the data
//                           followed by SHA-256(every byte above + data)
//
// The digest makes a damaged or altered envelope fail to open instead of
// opening to garbage. Keys are DER: SubjectPublicKeyInfo for the public key,
// PKCS#1 RSAPrivateKey for the private key. Safe from any thread.
#pragma once

#include <cstdint>
#include <string>

// False when the key cannot be imported or encryption fails.
bool SealData(const std::string& publicKeyDer, int32_t selector, const std::string& version,
              const std::string& data, std::string& sealed);

// False when the envelope is malformed, was made for another key or has
// been altered.
bool UnsealData(const std::string& privateKeyDer, const std::string& sealed, std::string& data);

// Whether the DER text imports as the kind of key the functions above need.
bool IsUsablePublicKey(const std::string& der);
bool IsUsablePrivateKey(const std::string& der);
