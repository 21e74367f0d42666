#include "sys/machine_identity.h"

#include <windows.h>

#include <cstdio>

#include "sys/network_adapters.h"
#include "sys/text_convert.h"
#include "sys/unique_handle.h"
#include "sys/vm_probe.h"

namespace {

constexpr wchar_t kNetworkClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr DWORD kPnpIdBufferBytes = 2048;
constexpr DWORD kShortestPnpIdBytes = 7;

const AdapterCandidate* FirstOfClass(const std::vector<AdapterCandidate>& list, int busClass) {
  for (const AdapterCandidate& candidate : list) {
    if (candidate.busClass == busClass) return &candidate;
  }
  return nullptr;
}

std::string ComputeMachineIdentity() {
  std::vector<AdapterCandidate> devices;
  if (!IsVirtualPcGuest() && !IsVmwareGuest()) devices = ListDeviceAdapters();
  return ChooseMachineIdentity(devices, ListIpAdapters());
}

template <typename String>
int BusClassOfPrefix(const String& id) {
  const auto startsWith = [&id](const char* bus) {
    return id.size() >= 3 && id[0] == bus[0] && id[1] == bus[1] && id[2] == bus[2];
  };
  if (startsWith("PCI")) return BUS_PCI;
  if (startsWith("ISA")) return BUS_ISA;
  if (startsWith("USB")) return BUS_USB;
  return BUS_OTHER;
}

}  // namespace

std::string FormatHardwareAddress(const unsigned char* bytes) {
  char text[18] = {};
  std::snprintf(text, sizeof(text), "%02X-%02X-%02X-%02X-%02X-%02X", bytes[0], bytes[1], bytes[2],
                bytes[3], bytes[4], bytes[5]);
  return text;
}

bool IsZeroHardwareAddress(const unsigned char* bytes) {
  for (int i = 0; i < 6; ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

int BusClassOfId(const std::wstring& id) { return BusClassOfPrefix(id); }

int BusClassOfId(const std::string& id) { return BusClassOfPrefix(id); }

int AdapterBusClass(const std::string& adapterName) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kNetworkClassKey, 0, KEY_READ, &opened) !=
      ERROR_SUCCESS) {
    return BUS_OTHER;
  }
  const UniqueRegKey networkClass(opened);
  const std::wstring connection = Utf8ToWide(adapterName) + L"\\Connection";
  opened = nullptr;
  if (::RegOpenKeyExW(networkClass.get(), connection.c_str(), 0, KEY_READ, &opened) !=
      ERROR_SUCCESS) {
    return BUS_OTHER;
  }
  const UniqueRegKey key(opened);
  wchar_t id[kPnpIdBufferBytes / sizeof(wchar_t) + 1] = {};
  DWORD bytes = kPnpIdBufferBytes;
  if (::RegQueryValueExW(key.get(), L"PnpInstanceID", nullptr, nullptr, reinterpret_cast<BYTE*>(id),
                         &bytes) != ERROR_SUCCESS ||
      bytes < kShortestPnpIdBytes) {
    return BUS_OTHER;
  }
  return BusClassOfId(id);
}

std::string ChooseMachineIdentity(const std::vector<AdapterCandidate>& devices,
                                  const std::vector<AdapterCandidate>& adapters) {
  for (int busClass : {BUS_PCI, BUS_ISA, BUS_USB, BUS_OTHER}) {
    if (const AdapterCandidate* device = FirstOfClass(devices, busClass)) return device->address;
    if (const AdapterCandidate* adapter = FirstOfClass(adapters, busClass)) {
      return adapter->address;
    }
  }
  return std::string();
}

std::string GetMachineIdentity() {
  static bool computed = false;
  static std::string identity;
  if (computed) return identity;
  computed = true;
  try {
    identity = ComputeMachineIdentity();
  } catch (...) {
    // Swallowed: the identity stays as far as it got (normally empty).
  }
  return identity;
}
