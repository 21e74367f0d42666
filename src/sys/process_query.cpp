#include "sys/process_query.h"

#include <tlhelp32.h>

#include "sys/system_library.h"
#include "sys/unique_handle.h"

namespace {

constexpr DWORD kImagePathChars = 260;
constexpr DWORD kQueryRights = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr int64_t kUnixEpochAsFileTime = 116444736000000000LL;
constexpr int64_t kFileTimeTicksPerSecond = 10000000LL;

using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, wchar_t*, DWORD*);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, wchar_t*, DWORD);

// Calls `visit` for each entry of a fresh snapshot of all processes until it
// returns false. False when the snapshot cannot be taken.
template <typename Visit>
bool ForEachProcess(Visit visit) {
  UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (!visit(entry)) break;
  }
  return true;
}

UniqueKernelHandle OpenForQuery(DWORD processId) {
  return UniqueKernelHandle(::OpenProcess(kQueryRights, FALSE, processId));
}

// Before Windows Vista only the module-name call exists; kernel32 may carry
// it, otherwise PSAPI does.
GetModuleFileNameExFn FindModuleFileNameEx() {
  if (const auto inKernel =
          SystemFunctionAs<GetModuleFileNameExFn>(L"kernel32.dll", "GetModuleFileNameExW")) {
    return inKernel;
  }
  return SystemFunctionAs<GetModuleFileNameExFn>(L"psapi.dll", "GetModuleFileNameExW");
}

}  // namespace

bool GetParentProcessId(DWORD processId, DWORD& parentId) {
  bool found = false;
  const bool listed = ForEachProcess([&](const PROCESSENTRY32W& entry) {
    if (entry.th32ProcessID != processId) return true;
    parentId = entry.th32ParentProcessID;
    found = true;
    return false;
  });
  return listed && found;
}

bool GetProcessImagePath(DWORD processId, std::wstring& path) {
  const UniqueKernelHandle process = OpenForQuery(processId);
  if (!process) return false;
  wchar_t buffer[kImagePathChars] = {};
  if (const auto queryFull = SystemFunctionAs<QueryFullProcessImageNameFn>(
          L"kernel32.dll", "QueryFullProcessImageNameW")) {
    DWORD size = kImagePathChars;
    if (!queryFull(process.get(), 0, buffer, &size)) return false;
    path.assign(buffer, size < kImagePathChars ? size : kImagePathChars - 1);
    return true;
  }
  const GetModuleFileNameExFn moduleName = FindModuleFileNameEx();
  if (moduleName == nullptr) {
    path.clear();
    return true;
  }
  const DWORD length = moduleName(process.get(), nullptr, buffer, kImagePathChars);
  if (length == 0) return false;
  path.assign(buffer, length < kImagePathChars ? length : kImagePathChars - 1);
  return true;
}

bool CollectBrowserProcesses(const ImageNameTest& test, std::map<DWORD, std::wstring>& found) {
  return ForEachProcess([&](const PROCESSENTRY32W& entry) {
    const std::wstring name = entry.szExeFile;
    if (test(name)) found.emplace(entry.th32ProcessID, name);
    return true;
  });
}

bool GetProcessStartTime(DWORD processId, int64_t& unixSeconds) {
  const UniqueKernelHandle process = OpenForQuery(processId);
  if (!process) return false;
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) return false;
  const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(created.dwHighDateTime) << 32) |
                                             created.dwLowDateTime);
  unixSeconds = (ticks - kUnixEpochAsFileTime) / kFileTimeTicksPerSecond;
  return true;
}
