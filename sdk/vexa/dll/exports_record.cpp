// Vexa.dll: records and events.
#include <windows.h>

#include <ctime>
#include <string>
#include <type_traits>

#include "common/export_guard.h"
#include "vexa/core/record_id.h"
#include "vexa/dll/client_registry.h"
#include "vexa/dll/record_registry.h"
#include "vexa/dll/vexa_settings.h"
#include "vexa_api.h"

namespace {

bool IsKnownKind(int kind) {
  return kind == VEXA_RECORD_BASIC || kind == VEXA_RECORD_ACTION || kind == VEXA_RECORD_RUN_STATE ||
         kind == VEXA_RECORD_EVENT;
}

// Runs body(Record&) on a live record; unknown records are ignored.
template <typename Body>
void OnRecord(VexaRecord record, Body&& body) {
  GuardedVoid([&] {
    RecordRegistry::Instance().With(record, 0, [&](Record& live) {
      body(live);
      return 0;
    });
  });
}

int CommitRecord(Record& record) {
  if (record.Committed()) return VEXA_ERROR_STATE;
  const std::string id = NewRecordId();
  const std::string line = record.ToJsonLine(id, static_cast<int64_t>(std::time(nullptr)));
  if (!DllSpool().Append(id, line)) return VEXA_ERROR_STORAGE;
  record.MarkCommitted();
  return VEXA_OK;
}

}  // namespace

extern "C" {

int VEXA_CALL vexaCLTCreate(VexaHandle handle, int kind, VexaRecord* record) {
  return Guarded<int>(VEXA_ERROR_INTERNAL, [&] {
    if (!record) return VEXA_ERROR_ARGUMENT;
    *record = nullptr;
    if (!IsKnownKind(kind) || !ClientRegistry::Instance().Contains(handle)) return VEXA_ERROR_ARGUMENT;
    *record = RecordRegistry::Instance().Create(kind, VexaSettings::Instance().Context());
    return VEXA_OK;
  });
}

void VEXA_CALL vexaCLTWriteInt(VexaRecord record, int field, int32_t value) {
  OnRecord(record, [&](Record& live) { live.WriteInt(field, value); });
}

void VEXA_CALL vexaCLTWriteData(VexaRecord record, int field, const void* bytes, int length) {
  if (length < 0 || (!bytes && length > 0)) return;
  OnRecord(record, [&](Record& live) {
    live.WriteData(field, length > 0 ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(length))
                                     : std::string());
  });
}

void VEXA_CALL vexaCLTSensorWriteEvent(VexaRecord record, const char* name, int32_t sequence) {
  if (!name) return;
  OnRecord(record, [&](Record& live) { live.WriteEvent(name, sequence); });
}

void VEXA_CALL vexaCLTSensorWriteIntProperties(VexaRecord record, const char* key, int32_t value) {
  if (!key) return;
  OnRecord(record, [&](Record& live) { live.AddIntProperty(key, value); });
}

void VEXA_CALL vexaCLTSensorWriteBoolProperties(VexaRecord record, const char* key, uint8_t value) {
  if (!key) return;
  OnRecord(record, [&](Record& live) { live.AddBoolProperty(key, value != 0); });
}

void VEXA_CALL vexaCLTSensorWriteStringProperties(VexaRecord record, const char* key, const char* value) {
  if (!key || !value) return;
  OnRecord(record, [&](Record& live) { live.AddStringProperty(key, value); });
}

// The record is on the disk when this returns VEXA_OK; the upload follows
// in the background.
int VEXA_CALL vexaCLTCommit(VexaRecord record) {
  const int result = Guarded<int>(VEXA_ERROR_INTERNAL, [&] {
    return RecordRegistry::Instance().With(record, static_cast<int>(VEXA_ERROR_ARGUMENT), &CommitRecord);
  });
  if (result == VEXA_OK) GuardedVoid([] { ClientRegistry::Instance().WakeAll(); });
  return result;
}

void VEXA_CALL vexaCLTFree(VexaRecord record) {
  GuardedVoid([&] { RecordRegistry::Instance().Release(record); });
}

}  // extern "C"

static_assert(std::is_same<decltype(&vexaCLTCreate), vexaCLTCreate_t>::value, "vexaCLTCreate");
static_assert(std::is_same<decltype(&vexaCLTWriteInt), vexaCLTWriteInt_t>::value, "vexaCLTWriteInt");
static_assert(std::is_same<decltype(&vexaCLTWriteData), vexaCLTWriteData_t>::value, "vexaCLTWriteData");
static_assert(std::is_same<decltype(&vexaCLTSensorWriteEvent), vexaCLTSensorWriteEvent_t>::value, "event");
static_assert(std::is_same<decltype(&vexaCLTSensorWriteIntProperties), vexaCLTSensorWriteIntProperties_t>::value,
              "int property");
static_assert(std::is_same<decltype(&vexaCLTSensorWriteBoolProperties), vexaCLTSensorWriteBoolProperties_t>::value,
              "bool property");
static_assert(
    std::is_same<decltype(&vexaCLTSensorWriteStringProperties), vexaCLTSensorWriteStringProperties_t>::value,
    "string property");
static_assert(std::is_same<decltype(&vexaCLTCommit), vexaCLTCommit_t>::value, "vexaCLTCommit");
static_assert(std::is_same<decltype(&vexaCLTFree), vexaCLTFree_t>::value, "vexaCLTFree");
