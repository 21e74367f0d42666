// What the stand-in package installs, and where it records it.
#pragma once

// The uninstall-list entry an Inno Setup package of the product writes,
// under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63}_is1";

inline constexpr wchar_t kProductName[] = L"Tessaro";
inline constexpr wchar_t kPublisher[] = L"Orvane";

// Files in the install folder.
inline constexpr wchar_t kAppFile[] = L"Tessaro.exe";
inline constexpr wchar_t kUninstallerFile[] = L"unins000.exe";
// The choices the setup was given (join plan, welcome), for the product's
// first start.
inline constexpr wchar_t kSettingsFile[] = L"install.ini";

// Payload resources (RCDATA) of the setup program.
inline constexpr wchar_t kAppPayload[] = L"TESSARO_APP";
inline constexpr wchar_t kUninstallerPayload[] = L"TESSARO_UNINSTALLER";
