// A stand-in analytics SDK for the logger's unit tests: every call is appended
// to a text log that the test reads back through fakeVexaLog(). Build options
// leave out single exports (FAKE_WITHOUT_NET_PROTOCOL, FAKE_WITHOUT_COMMIT);
// FAKE_VEXA_APPINFO_RESULT in the environment sets vexaSetAppInfo's result.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "vexa_api.h"

#define EXPORT extern "C" __declspec(dllexport)

namespace {

std::string& Log() {
  static std::string log;
  return log;
}

void Append(const std::string& line) { Log() += line + "\n"; }

std::string Text(const char* text) { return text ? text : "(null)"; }

int handleStorage = 0;
int recordStorage = 0;

}  // namespace

EXPORT const char* VEXA_CALL fakeVexaLog() { return Log().c_str(); }

EXPORT int VEXA_CALL vexaCreate(VexaHandle* handle) {
  Append("create");
  *handle = &handleStorage;
  return 0;
}
EXPORT int VEXA_CALL vexaSetApplyKey(const char* appId, const char* appKey) {
  Append("applykey " + Text(appId) + " " + Text(appKey));
  return 0;
}
EXPORT void VEXA_CALL vexaSetMidVersion(int version) { Append("midversion " + std::to_string(version)); }
EXPORT int VEXA_CALL vexaSetAppInfo(const char* name, int, int) {
  Append("appinfo " + Text(name));
  char result[16] = {};
  return GetEnvironmentVariableA("FAKE_VEXA_APPINFO_RESULT", result, sizeof(result)) ? atoi(result) : 0;
}
EXPORT int VEXA_CALL vexaSetPubCertificate(const char* key) {
  Append("pubkey " + std::to_string(strlen(key)));
  return 0;
}
EXPORT int VEXA_CALL vexaSetPriCcertificate(const char* key) {
  Append("prikey " + std::to_string(strlen(key)));
  return 0;
}
EXPORT int VEXA_CALL vexaEnableSandbox(int) { Append("sandbox"); return 0; }
EXPORT void VEXA_CALL vexaEnableCrashReport(VexaCrashCallback callback, void* context) {
  Append(std::string("crashreport ") + (callback && context ? "set" : "missing"));
}
EXPORT void VEXA_CALL vexaFree(VexaHandle) { Append("free"); }
EXPORT int VEXA_CALL vexaSetHostInfo(const char* host, int port) {
  Append("host " + Text(host) + ":" + std::to_string(port));
  return 0;
}
EXPORT int VEXA_CALL vexaSetSensorUrl(const char* path) { Append("sensor " + Text(path)); return 0; }
#ifndef FAKE_WITHOUT_NET_PROTOCOL
EXPORT int VEXA_CALL vexaSetNetProtocol(int) { Append("netprotocol"); return 0; }
#endif
EXPORT int VEXA_CALL vexaSetURLVersion(const char*) { Append("urlversion"); return 0; }

EXPORT int VEXA_CALL vexaCLTCreate(VexaHandle, int kind, VexaRecord* record) {
  Append("record " + std::to_string(kind));
  *record = &recordStorage;
  return 0;
}
EXPORT void VEXA_CALL vexaCLTSensorWriteEvent(VexaRecord, const char* name, int32_t sequence) {
  Append("event " + Text(name) + " " + std::to_string(sequence));
}
EXPORT void VEXA_CALL vexaCLTSensorWriteIntProperties(VexaRecord, const char* key, int32_t value) {
  Append("int " + Text(key) + "=" + std::to_string(value));
}
EXPORT void VEXA_CALL vexaCLTSensorWriteBoolProperties(VexaRecord, const char* key, uint8_t value) {
  Append("bool " + Text(key) + "=" + std::to_string(value));
}
EXPORT void VEXA_CALL vexaCLTSensorWriteStringProperties(VexaRecord, const char* key, const char* value) {
  Append("string " + Text(key) + "=" + Text(value));
}
EXPORT void VEXA_CALL vexaCLTWriteInt(VexaRecord, int field, int32_t value) {
  Append("field " + std::to_string(field) + "=" + std::to_string(value));
}
EXPORT void VEXA_CALL vexaCLTWriteData(VexaRecord, int field, const void* bytes, int length) {
  Append("field " + std::to_string(field) + "=" + std::string(static_cast<const char*>(bytes), length));
}
#ifndef FAKE_WITHOUT_COMMIT
EXPORT int VEXA_CALL vexaCLTCommit(VexaRecord) { Append("commit"); return 0; }
#endif
EXPORT void VEXA_CALL vexaCLTFree(VexaRecord) { Append("release"); }

EXPORT const char* VEXA_CALL vexaMid() { return "fake-machine-id"; }
EXPORT const char* VEXA_CALL vexaMidEx(int) { return ""; }
EXPORT void VEXA_CALL vexaOpenUrl(const char* url) { Append("openurl " + Text(url)); }
