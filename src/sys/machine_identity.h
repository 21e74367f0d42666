// The machine identity: the hardware address of one network adapter, chosen
// by bus (PCI before ISA before USB before anything else) so that a machine
// gives the same text on every run.
#pragma once

#include <string>
#include <vector>

enum BusClass : int { BUS_PCI = 1, BUS_ISA = 2, BUS_USB = 3, BUS_OTHER = 4 };

struct AdapterCandidate {
  std::string address;  // e.g. "00-1A-2B-3C-4D-5E"
  int busClass;         // a BusClass
};

// Six bytes as upper-case hex pairs joined by "-".
std::string FormatHardwareAddress(const unsigned char* bytes);

// True when all six bytes are zero.
bool IsZeroHardwareAddress(const unsigned char* bytes);

// The class named by the first three characters of a device instance id or
// Plug and Play id, compared exactly: "PCI", "ISA", "USB", else BUS_OTHER.
int BusClassOfId(const std::wstring& id);
int BusClassOfId(const std::string& id);

// The bus class of the adapter with the given name (a GUID text) as its
// network connection record says; BUS_OTHER when it cannot be read.
int AdapterBusClass(const std::string& adapterName);

// For each class from PCI to other: the first device-list entry of that
// class, else the first adapter-list entry of that class. Empty when both
// lists are empty.
std::string ChooseMachineIdentity(const std::vector<AdapterCandidate>& devices,
                                  const std::vector<AdapterCandidate>& adapters);

// The identity, computed on the first call and kept; empty when no adapter
// qualifies. The device list is not consulted inside a Virtual PC or VMware
// guest. Not locked: first called on the main thread.
std::string GetMachineIdentity();
