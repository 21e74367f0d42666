// Telemetry the pages send in the same shape. Texts are wide here and go out
// as UTF-8.
#pragma once

#include <string>

// `eventName` with "is_reinstall" and "windows_name" (the page's title):
// "vInstallPage" when a page is built, "pCancelInstall" when the user cancels.
void SendPageEvent(const char* eventName, const wchar_t* windowsName);

// `eventName` with one text property.
void SendTextEvent(const char* eventName, const char* key, const wchar_t* value);

// A page or dialog action record (page code, action code, empty detail).
void ReportPageAction(const char* pageCode, const char* actionCode);

// Page codes of the action records.
constexpr char PAGE_CODE_START[] = "0001";
constexpr char PAGE_CODE_CUSTOM[] = "0002";
constexpr char PAGE_CODE_FINISHED[] = "0004";
constexpr char PAGE_CODE_CANCEL_FROM_START[] = "0005";
constexpr char PAGE_CODE_CANCEL_FROM_CUSTOM[] = "0006";
