// The device list of the machine identity: SetupAPI, loaded at run time,
// and the adapters' NDIS statistics query.
#include <windows.h>
#include <setupapi.h>

#include <cstring>
#include <vector>

#include "sys/network_adapters.h"
#include "sys/system_library.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"
#include "sys/unique_handle.h"

namespace {

// The NDIS LAN device interface that every network adapter exposes.
constexpr GUID kNdisLanInterface = {
    0xAD498944, 0x762F, 0x11D0, {0x8D, 0xCB, 0x00, 0xC0, 0x4F, 0xC3, 0x35, 0x8C}};
constexpr DWORD kLastMemberIndex = 254;
constexpr DWORD kLocationPathsProperty = 35;
constexpr DWORD kQueryGlobalStats = 0x170002;
constexpr DWORD kPermanentAddressOid = 0x01010101;
constexpr DWORD kCurrentAddressOid = 0x01010102;
constexpr DWORD kAnswerBytes = 260;
constexpr DWORD kTextChars = 1024;

const wchar_t kSetupApi[] = L"setupapi.dll";

struct SetupApi {
  decltype(&::SetupDiGetClassDevsW) getClassDevs;
  decltype(&::SetupDiEnumDeviceInterfaces) enumInterfaces;
  decltype(&::SetupDiGetDeviceInterfaceDetailW) interfaceDetail;
  decltype(&::SetupDiGetDeviceRegistryPropertyW) registryProperty;
  decltype(&::SetupDiGetDeviceInstanceIdW) instanceId;

  bool complete() const {
    return getClassDevs && enumInterfaces && interfaceDetail && registryProperty && instanceId;
  }
};

SetupApi LoadSetupApi() {
  SetupApi api{};
  api.getClassDevs =
      SystemFunctionAs<decltype(api.getClassDevs)>(kSetupApi, "SetupDiGetClassDevsW");
  api.enumInterfaces =
      SystemFunctionAs<decltype(api.enumInterfaces)>(kSetupApi, "SetupDiEnumDeviceInterfaces");
  api.interfaceDetail = SystemFunctionAs<decltype(api.interfaceDetail)>(
      kSetupApi, "SetupDiGetDeviceInterfaceDetailW");
  api.registryProperty = SystemFunctionAs<decltype(api.registryProperty)>(
      kSetupApi, "SetupDiGetDeviceRegistryPropertyW");
  api.instanceId =
      SystemFunctionAs<decltype(api.instanceId)>(kSetupApi, "SetupDiGetDeviceInstanceIdW");
  return api;
}

struct DeviceMember {
  std::wstring devicePath;
  SP_DEVINFO_DATA info;
};

// The member's device path and device record; false when it cannot be read.
bool ReadMember(const SetupApi& api, HDEVINFO set, SP_DEVICE_INTERFACE_DATA& member,
                DeviceMember& out) {
  DWORD needed = 0;
  api.interfaceDetail(set, &member, nullptr, 0, &needed, nullptr);
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return false;
  std::vector<unsigned char> storage(needed + sizeof(wchar_t), 0);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  out.info = SP_DEVINFO_DATA{};
  out.info.cbSize = sizeof(SP_DEVINFO_DATA);
  if (!api.interfaceDetail(set, &member, detail, needed, nullptr, &out.info)) return false;
  out.devicePath = detail->DevicePath;
  return true;
}

// Virtual adapters have no location on a bus.
bool HasLocationPath(const SetupApi& api, HDEVINFO set, SP_DEVINFO_DATA& info) {
  wchar_t paths[kTextChars + 2] = {};
  if (!api.registryProperty(set, &info, kLocationPathsProperty, nullptr,
                            reinterpret_cast<BYTE*>(paths), kTextChars * sizeof(wchar_t),
                            nullptr)) {
    return false;
  }
  return paths[0] != L'\0';
}

// The bus class from the instance id; false when the id cannot be read or
// is too short to name a bus.
bool ReadBusClass(const SetupApi& api, HDEVINFO set, SP_DEVINFO_DATA& info, int& busClass) {
  wchar_t id[kTextChars + 1] = {};
  if (!api.instanceId(set, &info, id, kTextChars, nullptr)) return false;
  const std::string narrow = ToUpperAscii(WideToAnsi(id));
  if (narrow.size() <= 2) return false;
  busClass = BusClassOfId(narrow);
  return true;
}

bool QueryAddress(HANDLE device, DWORD oid, unsigned char (&answer)[kAnswerBytes]) {
  std::memset(answer, 0, sizeof(answer));
  DWORD returned = 0;
  DWORD request = oid;
  if (!::DeviceIoControl(device, kQueryGlobalStats, &request, sizeof(request), answer,
                         sizeof(answer), &returned, nullptr)) {
    return false;
  }
  return returned >= 6 && !IsZeroHardwareAddress(answer);
}

// The adapter's permanent address, or its current one when the permanent
// address is unset; empty when the driver answers neither.
std::string ReadHardwareAddress(const std::wstring& devicePath) {
  UniqueFileHandle device(::CreateFileW(devicePath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
  if (!device) return std::string();
  unsigned char answer[kAnswerBytes];
  if (QueryAddress(device.get(), kPermanentAddressOid, answer) ||
      QueryAddress(device.get(), kCurrentAddressOid, answer)) {
    return FormatHardwareAddress(answer);
  }
  return std::string();
}

void AddMember(const SetupApi& api, HDEVINFO set, SP_DEVICE_INTERFACE_DATA& member,
               std::vector<AdapterCandidate>& found) {
  DeviceMember device;
  if (!ReadMember(api, set, member, device)) return;
  if (!HasLocationPath(api, set, device.info)) return;
  int busClass = BUS_OTHER;
  if (!ReadBusClass(api, set, device.info, busClass)) return;
  const std::string address = ReadHardwareAddress(device.devicePath);
  if (!address.empty()) found.push_back(AdapterCandidate{address, busClass});
}

}  // namespace

void DeviceInfoSetTraits::Close(Type h) noexcept {
  using DestroyFn = decltype(&::SetupDiDestroyDeviceInfoList);
  if (const auto destroy = SystemFunctionAs<DestroyFn>(kSetupApi, "SetupDiDestroyDeviceInfoList")) {
    destroy(h);
  }
}

std::vector<AdapterCandidate> ListDeviceAdapters() {
  std::vector<AdapterCandidate> found;
  const SetupApi api = LoadSetupApi();
  if (!api.complete()) return found;
  const UniqueDeviceInfoSet set(api.getClassDevs(&kNdisLanInterface, nullptr, nullptr,
                                                 DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set) return found;
  for (DWORD index = 0; index <= kLastMemberIndex; ++index) {
    SP_DEVICE_INTERFACE_DATA member{};
    member.cbSize = sizeof(member);
    if (!api.enumInterfaces(set.get(), nullptr, &kNdisLanInterface, index, &member)) break;
    AddMember(api, set.get(), member, found);
  }
  return found;
}
