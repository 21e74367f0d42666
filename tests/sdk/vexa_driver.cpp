// Drives the SDK components from a separate process, as the installer does,
// for tests/sdk/sdk_process_test.py. Every command loads the components from
// the given SDK folder (ending in a backslash) and prints "key=value" lines.
//
//   vexa_driver send   <sdk> --port P --tag T [--wait-empty SECONDS]
//   vexa_driver crash  <sdk> --port P --marker FILE
//   vexa_driver ids    <sdk>
//   vexa_driver launch <sdk> --url URL
//   vexa_driver seal   <sdk> --hex DATA      prints sealed=HEX
//   vexa_driver unseal <sdk> --hex SEALED    prints data=HEX or data=failed
//   vexa_driver nulls  <sdk>                  null and refused arguments
//
// Exit code 0 when every SDK call gave what the command expects, 1 when
// one did not (the output says which), 2 for a usage error.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "sdk/sdk_api.h"
#include "sdk/vexa_driver_nulls.h"
#include "sys/text_convert.h"
#include "sys/unique_handle.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The analytics settings the installer uses, but pointing at the test's collector.
constexpr char kAppId[] = "52718340";
constexpr char kAppKey[] = "D3E07A19C4F2B8605E1D97A3C0B4F728";
constexpr char kAppName[] = "win_installer";
constexpr char kSensorPath[] = "/sa?project=production";

void Print(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

int Fail(const std::string& what) {
  Print("error", what);
  return kExitFailed;
}

std::string ToHex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

bool FromHex(const std::string& hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  bytes.clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    const long value = std::strtol(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) return false;
    bytes += static_cast<char>(value);
  }
  return true;
}

struct Session {
  std::wstring sdk;
  std::map<std::string, std::string> options;
  UniqueModule module;
  VexaApi api;
  VexaHandle handle = nullptr;

  std::string Option(const std::string& name) const {
    const auto found = options.find(name);
    return found == options.end() ? std::string() : found->second;
  }
};

// The installer's initialisation sequence, with the test's collector.
int Initialise(Session& s) {
  if (s.api.create(&s.handle) != VEXA_OK || !s.handle) return Fail("vexaCreate");
  if (s.api.setApplyKey(kAppId, kAppKey) != VEXA_OK) return Fail("vexaSetApplyKey");
  if (s.api.setAppInfo(kAppName, 0, 0) != VEXA_OK) return Fail("vexaSetAppInfo");
  if (s.api.setHostInfo("127.0.0.1", std::atoi(s.Option("port").c_str())) != VEXA_OK) return Fail("vexaSetHostInfo");
  if (s.api.setSensorUrl(kSensorPath) != VEXA_OK) return Fail("vexaSetSensorUrl");
  s.api.setMidVersion(1);
  if (s.api.setPubCertificate(TESSARO_TEST_PUBLIC_KEY) != VEXA_OK) return Fail("vexaSetPubCertificate");
  if (s.api.setPriCcertificate(TESSARO_TEST_PRIVATE_KEY) != VEXA_OK) return Fail("vexaSetPriCcertificate");
  return kExitOk;
}

void WriteText(const VexaApi& api, VexaRecord record, int field, const std::string& text) {
  api.writeData(record, field, text.data(), static_cast<int>(text.size()));
}

bool SendEvent(const Session& s, const char* name, int32_t sequence, const std::string& tag) {
  VexaRecord record = nullptr;
  if (s.api.recordCreate(s.handle, VEXA_RECORD_EVENT, &record) != VEXA_OK) return false;
  s.api.writeEvent(record, name, sequence);
  // Types interleaved on purpose: the order of the calls must survive.
  s.api.writeIntProperty(record, "count", 7);
  s.api.writeBoolProperty(record, "flag", 1);
  s.api.writeStringProperty(record, "text", "\xE8\xBD\xAF\xE4\xBB\xB6 ok");
  s.api.writeIntProperty(record, "negative", -5);
  s.api.writeBoolProperty(record, "off", 0);
  s.api.writeStringProperty(record, "tag", tag.c_str());
  const bool committed = s.api.commit(record) == VEXA_OK;
  s.api.recordFree(record);
  return committed;
}

bool SendRecords(const Session& s, const std::string& tag) {
  VexaRecord basic = nullptr, action = nullptr, state = nullptr;
  if (s.api.recordCreate(s.handle, VEXA_RECORD_BASIC, &basic) != VEXA_OK) return false;
  s.api.writeInt(basic, 1, 42);
  WriteText(s.api, basic, 2, "basic-" + tag);
  const bool basicSent = s.api.commit(basic) == VEXA_OK;
  s.api.recordFree(basic);

  if (s.api.recordCreate(s.handle, VEXA_RECORD_ACTION, &action) != VEXA_OK) return false;
  WriteText(s.api, action, 10, "0001");
  WriteText(s.api, action, 11, "0002");
  // Bytes that are no text at all travel unchanged.
  WriteText(s.api, action, 12, std::string("\xFF\xFE\x00raw", 6));
  const bool actionSent = s.api.commit(action) == VEXA_OK;
  s.api.recordFree(action);

  if (s.api.recordCreate(s.handle, VEXA_RECORD_RUN_STATE, &state) != VEXA_OK) return false;
  s.api.writeInt(state, 50, 4);
  WriteText(s.api, state, 51, "0001");
  WriteText(s.api, state, 52, "0002");
  WriteText(s.api, state, 55, "C:\\dumps\\" + tag + ".dmp");
  const bool stateSent = s.api.commit(state) == VEXA_OK;
  s.api.recordFree(state);
  return basicSent && actionSent && stateSent;
}

size_t SpoolCount(const std::wstring& sdk) {
  size_t count = 0;
  WIN32_FIND_DATAW data = {};
  UniqueFindHandle find(::FindFirstFileW((sdk + L"spool\\*.rec").c_str(), &data));
  if (!find) return 0;
  do {
    ++count;
  } while (::FindNextFileW(find.get(), &data));
  return count;
}

int Send(Session& s) {
  if (const int failed = Initialise(s)) return failed;
  const std::string tag = s.Option("tag");
  if (!SendEvent(s, "tFirst", 1000, tag) || !SendEvent(s, "tSecond", 1001, tag)) return Fail("event");
  if (!SendRecords(s, tag)) return Fail("records");
  const DWORD waitMs = static_cast<DWORD>(std::atoi(s.Option("wait-empty").c_str())) * 1000;
  const DWORD start = ::GetTickCount();
  while (SpoolCount(s.sdk) > 0 && ::GetTickCount() - start < waitMs) ::Sleep(100);
  Print("spool-before-free", std::to_string(SpoolCount(s.sdk)));
  const DWORD freeStart = ::GetTickCount();
  s.api.free(s.handle);
  Print("free-ms", std::to_string(::GetTickCount() - freeStart));
  Print("spool-left", std::to_string(SpoolCount(s.sdk)));
  return kExitOk;
}

// What the installer's crash callback does: report the dump as a run-state
// record; and for the test, leave the dump path in a marker file.
struct CrashContext {
  const VexaApi* api;
  VexaHandle handle;
  std::wstring marker;
};

void VEXA_CALL OnCrash(void* context, const wchar_t* dumpPath) {
  const auto* crash = static_cast<const CrashContext*>(context);
  const std::string path = WideToUtf8(dumpPath ? dumpPath : L"");
  VexaRecord record = nullptr;
  if (crash->api->recordCreate(crash->handle, VEXA_RECORD_RUN_STATE, &record) == VEXA_OK) {
    crash->api->writeInt(record, 50, 1);
    crash->api->writeData(record, 55, path.data(), static_cast<int>(path.size()));
    crash->api->commit(record);
    crash->api->recordFree(record);
  }
  UniqueFileHandle file(::CreateFileW(crash->marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) ::WriteFile(file.get(), path.data(), static_cast<DWORD>(path.size()), &written, nullptr);
}

int Crash(Session& s) {
  if (const int failed = Initialise(s)) return failed;
  static CrashContext context;
  context = {&s.api, s.handle, Utf8ToWide(s.Option("marker"))};
  s.api.enableCrashReport(&OnCrash, &context);
  Print("crashing", "now");
  volatile uintptr_t nowhere = 0;
  *reinterpret_cast<volatile int*>(nowhere) = 1;
  return Fail("still alive after the crash");
}

int Ids(Session& s) {
  const char* mid = s.api.mid();
  Print("mid", mid ? mid : "(null)");
  Print("midex1", s.api.midEx(1));
  Print("midex2", s.api.midEx(2));
  UniqueModule nquid(::LoadLibraryW((s.sdk + L"NQUID.dll").c_str()));
  const auto getNquid = nquid ? ExportOf<GetNQUID_t>(nquid.get(), "GetNQUID") : nullptr;
  if (!getNquid) return Fail("GetNQUID");
  char buffer[33] = {};
  const int result = getNquid(buffer, sizeof(buffer));
  Print("nquid-result", std::to_string(result));
  Print("nquid", buffer);
  return kExitOk;
}

int Launch(Session& s) {
  UniqueModule ostrel(::LoadLibraryW((s.sdk + L"Ostrel.dll").c_str()));
  const auto shellExec = ostrel ? ExportOf<ShellExecAsUser_t>(ostrel.get(), "ShellExecAsUser") : nullptr;
  if (!shellExec) return Fail("ShellExecAsUser");
  const std::string url = s.Option("url");
  Print("shell", std::to_string(shellExec("open", url.c_str(), 0, 0, 0)));
  s.api.openUrl((url + "&via=vexa").c_str());
  Print("opened", "yes");
  return kExitOk;
}

int Seal(Session& s) {
  if (const int failed = Initialise(s)) return failed;
  std::string data;
  if (!FromHex(s.Option("hex"), data)) return kExitUsage;
  int length = 0;
  uint8_t* sealed = s.api.buildHttpData(7, reinterpret_cast<const uint8_t*>(data.data()),
                                        static_cast<int>(data.size()), &length, 0, "/v1.1");
  if (!sealed) return Fail("vexaBuildHttpData");
  Print("sealed", ToHex(std::string(reinterpret_cast<const char*>(sealed), static_cast<size_t>(length))));
  s.api.dataFree(sealed);
  return kExitOk;
}

int Unseal(Session& s) {
  if (const int failed = Initialise(s)) return failed;
  std::string sealed;
  if (!FromHex(s.Option("hex"), sealed)) return kExitUsage;
  int length = -1;
  uint8_t* data = s.api.decryptData(reinterpret_cast<const uint8_t*>(sealed.data()), static_cast<int>(sealed.size()),
                                    &length);
  if (!data) {
    Print("data", "failed");
    Print("length", std::to_string(length));
    return kExitOk;
  }
  Print("data", ToHex(std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(length))));
  s.api.dataFree(data);
  return kExitOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return kExitUsage;
  Session s;
  s.sdk = argv[2];
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string name = WideToUtf8(argv[i]);
    if (name.compare(0, 2, "--") != 0) return kExitUsage;
    s.options[name.substr(2)] = WideToUtf8(argv[i + 1]);
  }
  std::string missing;
  if (!LoadVexa(s.sdk, s.module, s.api, missing)) return Fail("missing " + missing);
  const std::wstring command = argv[1];
  if (command == L"send") return Send(s);
  if (command == L"crash") return Crash(s);
  if (command == L"ids") return Ids(s);
  if (command == L"launch") return Launch(s);
  if (command == L"seal") return Seal(s);
  if (command == L"unseal") return Unseal(s);
  if (command == L"nulls") return CheckNullArguments(s.api, s.sdk);
  return kExitUsage;
}
