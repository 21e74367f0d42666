// The SDK entry points the logger keeps, one table per component role. A
// table is absent when its component or a required entry point is missing;
// optional entry points inside a table may be null.
#pragma once

#include "vexa_api.h"

struct SdkCoreTable {
  VexaHandle handle = nullptr;
  vexaCreate_t vexaCreate = nullptr;
  vexaSetApplyKey_t vexaSetApplyKey = nullptr;
  vexaSetMidVersion_t vexaSetMidVersion = nullptr;
  vexaSetAppInfo_t vexaSetAppInfo = nullptr;
  vexaSetPubCertificate_t vexaSetPubCertificate = nullptr;
  vexaSetPriCcertificate_t vexaSetPriCcertificate = nullptr;
  vexaEnableSandbox_t vexaEnableSandbox = nullptr;
  vexaEnableCrashReport_t vexaEnableCrashReport = nullptr;
  vexaFree_t vexaFree = nullptr;
  vexaSetHostInfo_t vexaSetHostInfo = nullptr;
  vexaSetSensorUrl_t vexaSetSensorUrl = nullptr;
  vexaSetNetProtocol_t vexaSetNetProtocol = nullptr;
  vexaSetURLVersion_t vexaSetURLVersion = nullptr;
};

struct SdkReportTable {
  vexaCLTCreate_t vexaCLTCreate = nullptr;
  vexaCLTSensorWriteEvent_t vexaCLTSensorWriteEvent = nullptr;
  vexaCLTSensorWriteIntProperties_t vexaCLTSensorWriteIntProperties = nullptr;
  vexaCLTSensorWriteBoolProperties_t vexaCLTSensorWriteBoolProperties = nullptr;
  vexaCLTSensorWriteStringProperties_t vexaCLTSensorWriteStringProperties = nullptr;
  vexaCLTWriteInt_t vexaCLTWriteInt = nullptr;
  vexaCLTWriteData_t vexaCLTWriteData = nullptr;
  vexaCLTCommit_t vexaCLTCommit = nullptr;
  vexaCLTFree_t vexaCLTFree = nullptr;
};

struct SdkUtilityTable {
  vexaBuildHttpData_t vexaBuildHttpData = nullptr;
  vexaDecryptData_t vexaDecryptData = nullptr;
  vexaDataFree_t vexaDataFree = nullptr;
  vexaMid_t vexaMid = nullptr;
  vexaMidEx_t vexaMidEx = nullptr;
  vexaOpenUrl_t vexaOpenUrl = nullptr;
};

struct SdkLauncherTable {
  ShellExecAsUser_t ShellExecAsUser = nullptr;
};
