// The call shapes of the sibling components Vexa.dll, Ostrel.dll and NQUID.dll,
// shared by the components themselves (sdk/) and the installer that loads them.
//
// Calling convention: every export is __cdecl with its plain, undecorated name
// (the .def files of the components fix the names). All texts are narrow,
// NUL-terminated; Vexa texts are UTF-8. Handles and records are opaque.
#pragma once

#include <stdint.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VEXA_CALL __cdecl

typedef void* VexaHandle;
typedef void* VexaRecord;

// Record kinds.
enum {
  VEXA_RECORD_BASIC = 1,
  VEXA_RECORD_ACTION = 2,
  VEXA_RECORD_RUN_STATE = 4,
  VEXA_RECORD_EVENT = 6
};

// Results of the Vexa calls that return an int.
enum {
  VEXA_OK = 0,
  VEXA_ERROR_ARGUMENT = 1,  // a null or refused argument, an unknown handle or record
  VEXA_ERROR_STATE = 2,     // the call does not fit now (a record committed twice)
  VEXA_ERROR_STORAGE = 3,   // the record could not be written to the spool
  VEXA_ERROR_INTERNAL = 4   // anything else (out of memory)
};

// Called after a crash with the context given to vexaEnableCrashReport and the
// wide path of the minidump the SDK wrote.
typedef void(VEXA_CALL* VexaCrashCallback)(void* context, const wchar_t* dumpPath);

// Core: 0 means success where a result is returned.
typedef int(VEXA_CALL* vexaCreate_t)(VexaHandle* handle);
typedef int(VEXA_CALL* vexaSetApplyKey_t)(const char* appId, const char* appKey);
typedef void(VEXA_CALL* vexaSetMidVersion_t)(int version);
typedef int(VEXA_CALL* vexaSetAppInfo_t)(const char* appName, int reserved1, int reserved2);
typedef int(VEXA_CALL* vexaSetPubCertificate_t)(const char* publicKeyBase64);
typedef int(VEXA_CALL* vexaSetPriCcertificate_t)(const char* privateKeyBase64);
typedef int(VEXA_CALL* vexaEnableSandbox_t)(int enable);
typedef void(VEXA_CALL* vexaEnableCrashReport_t)(VexaCrashCallback callback, void* context);
typedef void(VEXA_CALL* vexaFree_t)(VexaHandle handle);
typedef int(VEXA_CALL* vexaSetHostInfo_t)(const char* host, int port);
typedef int(VEXA_CALL* vexaSetSensorUrl_t)(const char* path);
typedef int(VEXA_CALL* vexaSetNetProtocol_t)(int protocol);
typedef int(VEXA_CALL* vexaSetURLVersion_t)(const char* version);

// Records and events.
typedef int(VEXA_CALL* vexaCLTCreate_t)(VexaHandle handle, int kind, VexaRecord* record);
typedef void(VEXA_CALL* vexaCLTSensorWriteEvent_t)(VexaRecord record, const char* name, int32_t sequence);
typedef void(VEXA_CALL* vexaCLTSensorWriteIntProperties_t)(VexaRecord record, const char* key, int32_t value);
typedef void(VEXA_CALL* vexaCLTSensorWriteBoolProperties_t)(VexaRecord record, const char* key, uint8_t value);
typedef void(VEXA_CALL* vexaCLTSensorWriteStringProperties_t)(VexaRecord record, const char* key, const char* value);
typedef void(VEXA_CALL* vexaCLTWriteInt_t)(VexaRecord record, int field, int32_t value);
typedef void(VEXA_CALL* vexaCLTWriteData_t)(VexaRecord record, int field, const void* bytes, int length);
typedef int(VEXA_CALL* vexaCLTCommit_t)(VexaRecord record);
typedef void(VEXA_CALL* vexaCLTFree_t)(VexaRecord record);

// Utilities. Buffers from vexaBuildHttpData and vexaDecryptData are released
// with vexaDataFree; texts from vexaMid and vexaMidEx belong to the SDK.
typedef uint8_t*(VEXA_CALL* vexaBuildHttpData_t)(int selector, const uint8_t* bytes, int length,
                                                 int* outLength, int reserved, const char* version);
typedef uint8_t*(VEXA_CALL* vexaDecryptData_t)(const uint8_t* bytes, int length, int* outLength);
typedef void(VEXA_CALL* vexaDataFree_t)(void* buffer);
typedef const char*(VEXA_CALL* vexaMid_t)(void);
typedef const char*(VEXA_CALL* vexaMidEx_t)(int version);
typedef void(VEXA_CALL* vexaOpenUrl_t)(const char* url);

// Ostrel.dll: starts file (UTF-8 path or URL) with the verb as the desktop user;
// returns the shell's result (greater than 32 on success).
typedef intptr_t(VEXA_CALL* ShellExecAsUser_t)(const char* verb, const char* file, int arg1, int arg2,
                                               int arg3);

// NQUID.dll: fills buffer (size bytes, 33 in practice) with a NUL-terminated
// user id of at most 32 characters; returns 0 on success.
typedef int(VEXA_CALL* GetNQUID_t)(char* buffer, int size);

#ifdef __cplusplus
}
#endif
