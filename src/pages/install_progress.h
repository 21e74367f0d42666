// The progress page's rules without windows: the silent setup command line
// and the one percentage shown over download and install.
#pragma once

#include <cstdint>
#include <string>

// Whether the user stays in the experience plan; the setup program is told
// when they do not.
enum class JoinPlan { Declined, Accepted };

// "<package>" /SILENT /VERYSILENT /SP- /noicons [-noexperience ]-nowelcome /DIR="<folder>"
std::wstring BuildSetupCommandLine(const std::wstring& packagePath, JoinPlan joinPlan,
                                   const std::wstring& installPath);

enum class InstallPhase { Downloading, Installing, Done, Idle };

// Download 0..80 from the downloader's 0..100, then 80 plus the whole
// seconds the setup program has run (at most 19), 100 once it succeeded.
uint32_t ProgressPercent(InstallPhase phase, int32_t downloadPercent, uint32_t installElapsedMs);

// "正在安装，请不要关闭：<percent>%"
std::wstring ProgressStatusText(uint32_t percent);

// The "error_status" of a setup program that ended with `exitCode`: the code
// as an unsigned decimal number (a crash 0xC0000005 reads 3221225477).
std::string InstallErrorStatus(uint32_t exitCode);

// The "error_status" of a setup program that could not be started at all;
// told apart from exit codes by its prefix.
std::string StartErrorStatus(uint32_t windowsError);
