// The machine identity: the preference between candidates, the bus classes,
// and the virtual machine probes.
#include <windows.h>
#include <cpuid.h>

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "sys/machine_identity.h"
#include "sys/vm_probe.h"

namespace {

TEST(MachineIdentityTest, PrefersBusClassThenDeviceListThenListOrder) {
  using List = std::vector<AdapterCandidate>;
  struct Case {
    const char* what;
    List devices;
    List adapters;
    std::string expected;
  };
  const Case cases[] = {
      {"nothing", {}, {}, ""},
      {"PCI beats an earlier USB device", {{"U", BUS_USB}, {"P", BUS_PCI}}, {}, "P"},
      {"PCI adapter beats a USB device", {{"U", BUS_USB}}, {{"P", BUS_PCI}}, "P"},
      {"device list wins within a class", {{"D", BUS_PCI}}, {{"A", BUS_PCI}}, "D"},
      {"first of a class wins", {{"D1", BUS_ISA}, {"D2", BUS_ISA}}, {}, "D1"},
      {"ISA before USB", {{"U", BUS_USB}}, {{"I", BUS_ISA}}, "I"},
      {"USB before other", {{"O", BUS_OTHER}}, {{"U", BUS_USB}}, "U"},
      {"other as the last resort", {}, {{"O1", BUS_OTHER}, {"O2", BUS_OTHER}}, "O1"},
      {"adapter list alone", {}, {{"U", BUS_USB}, {"P", BUS_PCI}}, "P"},
      {"unknown class is never chosen", {{"X", 7}}, {{"Y", 0}}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseMachineIdentity(c.devices, c.adapters), c.expected) << c.what;
  }
}

TEST(MachineIdentityTest, HardwareAddressTextIsUpperCaseHexPairs) {
  const unsigned char address[6] = {0x00, 0x1a, 0xff, 0x0b, 0xc3, 0x9e};
  EXPECT_EQ(FormatHardwareAddress(address), "00-1A-FF-0B-C3-9E");
  const unsigned char zero[6] = {};
  const unsigned char lastSet[6] = {0, 0, 0, 0, 0, 1};
  EXPECT_TRUE(IsZeroHardwareAddress(zero));
  EXPECT_FALSE(IsZeroHardwareAddress(lastSet));
}

TEST(MachineIdentityTest, BusClassOfIdComparesThreeCharactersExactly) {
  struct Case {
    const char* id;
    int expected;
  };
  const Case cases[] = {
      {"PCI\\VEN_8086&DEV_100E", BUS_PCI},
      {"ISA\\PNP0A03", BUS_ISA},
      {"USB\\VID_0B95", BUS_USB},
      {"ROOT\\NET\\0000", BUS_OTHER},
      {"pci\\ven_8086", BUS_OTHER},
      {"PC", BUS_OTHER},
      {"", BUS_OTHER},
      {"PCIE", BUS_PCI},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BusClassOfId(std::string(c.id)), c.expected) << c.id;
    EXPECT_EQ(BusClassOfId(std::wstring(c.id, c.id + std::strlen(c.id))), c.expected) << c.id;
  }
}

// A connection record of the test's own under the network class key.
class ConnectionRecord {
 public:
  explicit ConnectionRecord(const std::string& adapter) {
    adapter_.assign(adapter.begin(), adapter.end());
    const std::wstring connection = Adapter() + L"\\Connection";
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, connection.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key_, nullptr);
  }
  ~ConnectionRecord() {
    if (key_ != nullptr) ::RegCloseKey(key_);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, (Adapter() + L"\\Connection").c_str());
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, Adapter().c_str());
  }
  ConnectionRecord(const ConnectionRecord&) = delete;
  ConnectionRecord& operator=(const ConnectionRecord&) = delete;

  bool valid() const { return key_ != nullptr; }
  // Stores `bytes` bytes of the text (with or without its NUL). As binary:
  // Wine would add a NUL to text values stored without one.
  void SetPnpId(const std::wstring& id, size_t bytes) {
    ::RegSetValueExW(key_, L"PnpInstanceID", 0, REG_BINARY,
                     reinterpret_cast<const BYTE*>(id.c_str()), static_cast<DWORD>(bytes));
  }

 private:
  std::wstring Adapter() const {
    return L"SYSTEM\\CurrentControlSet\\Control\\Network\\"
           L"{4D36E972-E325-11CE-BFC1-08002BE10318}\\" +
           adapter_;
  }
  std::wstring adapter_;
  HKEY key_ = nullptr;
};

std::string TestAdapterName() {
  static int counter = 0;
  return "{7E55A000-0000-0000-0000-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(++counter) + "}";
}

TEST(MachineIdentityTest, AdapterBusClassReadsTheConnectionRecord) {
  struct Case {
    std::wstring id;
    size_t bytes;  // stored size
    int expected;
  };
  const auto whole = [](const wchar_t* id) { return (std::wcslen(id) + 1) * sizeof(wchar_t); };
  const Case cases[] = {
      {L"PCI\\VEN_8086&DEV_100E\\3&1", whole(L"PCI\\VEN_8086&DEV_100E\\3&1"), BUS_PCI},
      {L"ISA\\PNP80D3", whole(L"ISA\\PNP80D3"), BUS_ISA},
      {L"USB\\VID_0B95&PID_7720", whole(L"USB\\VID_0B95&PID_7720"), BUS_USB},
      {L"ROOT\\NET\\0000", whole(L"ROOT\\NET\\0000"), BUS_OTHER},
      {L"pci\\ven_8086", whole(L"pci\\ven_8086"), BUS_OTHER},
      {L"PCI", whole(L"PCI"), BUS_PCI},  // 8 bytes with its NUL
      {L"PCI", 6, BUS_OTHER},            // too short to count
  };
  for (const Case& c : cases) {
    const std::string adapter = TestAdapterName();
    ConnectionRecord record(adapter);
    ASSERT_TRUE(record.valid());
    record.SetPnpId(c.id, c.bytes);
    EXPECT_EQ(AdapterBusClass(adapter), c.expected) << std::string(c.id.begin(), c.id.end());
  }
  {
    const std::string adapter = TestAdapterName();
    ConnectionRecord noValue(adapter);
    ASSERT_TRUE(noValue.valid());
    EXPECT_EQ(AdapterBusClass(adapter), BUS_OTHER);
  }
  EXPECT_EQ(AdapterBusClass(TestAdapterName()), BUS_OTHER);
}

// The hypervisor's vendor text from CPUID, empty on bare hardware.
std::string HypervisorVendor() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  __cpuid(1, eax, ebx, ecx, edx);
  if ((ecx & (1u << 31)) == 0) return std::string();
  __cpuid(0x40000000, eax, ebx, ecx, edx);
  char vendor[13] = {};
  std::memcpy(vendor, &ebx, 4);
  std::memcpy(vendor + 4, &ecx, 4);
  std::memcpy(vendor + 8, &edx, 4);
  return vendor;
}

// Neither guest instruction exists on this machine unless it is such a
// guest: each probe faults, and the fault must be caught.
TEST(MachineIdentityTest, VirtualMachineProbesSurviveTheirFaults) {
  EXPECT_FALSE(IsVirtualPcGuest());
  EXPECT_FALSE(IsVirtualPcGuest());
  const bool vmware = HypervisorVendor() == "VMwareVMware";
  EXPECT_EQ(IsVmwareGuest(), vmware);
  EXPECT_EQ(IsVmwareGuest(), vmware);
}

TEST(MachineIdentityTest, IdentityIsAnAddressOrEmptyAndStable) {
  const std::string identity = GetMachineIdentity();
  if (!identity.empty()) {
    EXPECT_TRUE(std::regex_match(identity, std::regex("([0-9A-F]{2}-){5}[0-9A-F]{2}"))) << identity;
  }
  EXPECT_EQ(GetMachineIdentity(), identity);
}

}  // namespace
