// The closers of the CryptoAPI handle owners.
#include <windows.h>

#include <wincrypt.h>

#include "sys/unique_handle.h"

void CryptProviderTraits::Close(Type h) noexcept { ::CryptReleaseContext(h, 0); }
void CryptKeyTraits::Close(Type h) noexcept { ::CryptDestroyKey(h); }
void CryptHashTraits::Close(Type h) noexcept { ::CryptDestroyHash(h); }
