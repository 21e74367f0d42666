// The adapter list of the machine identity: the IP Helper, loaded at run
// time.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <vector>

#include "sys/network_adapters.h"
#include "sys/system_library.h"

std::vector<AdapterCandidate> ListIpAdapters() {
  std::vector<AdapterCandidate> found;
  const auto getAdaptersInfo =
      SystemFunctionAs<decltype(&::GetAdaptersInfo)>(L"iphlpapi.dll", "GetAdaptersInfo");
  if (getAdaptersInfo == nullptr) return found;
  ULONG size = 0;
  if (getAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0) return found;
  // IP_ADAPTER_INFO holds 64-bit fields: keep the storage aligned for them.
  std::vector<unsigned long long> storage(size / sizeof(unsigned long long) + 1);
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(storage.data());
  if (getAdaptersInfo(first, &size) != ERROR_SUCCESS) return found;
  for (const IP_ADAPTER_INFO* adapter = first; adapter != nullptr; adapter = adapter->Next) {
    if (adapter->AddressLength != 6 || IsZeroHardwareAddress(adapter->Address)) continue;
    found.push_back(AdapterCandidate{FormatHardwareAddress(adapter->Address),
                                     AdapterBusClass(adapter->AdapterName)});
  }
  return found;
}
