// A stand-in browser for the launcher's tests. Started with "--stay" it just
// runs for a while, like a browser the user has open. Started with anything
// else it appends its arguments (the command line after its own program
// name) as one UTF-8 line to "<its own path>.log" and ends.
#include <windows.h>

#include <string>

namespace {

constexpr DWORD kStayMs = 120000;  // bounded, so a forgotten one goes away

std::wstring ArgumentsOf(const std::wstring& commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const size_t closing = commandLine.find(L'"', 1);
    at = closing == std::wstring::npos ? commandLine.size() : closing + 1;
  } else {
    at = commandLine.find(L' ');
    if (at == std::wstring::npos) at = commandLine.size();
  }
  const size_t first = commandLine.find_first_not_of(L' ', at);
  return first == std::wstring::npos ? std::wstring() : commandLine.substr(first);
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
  return out;
}

bool AppendLine(const std::wstring& path, const std::string& line) {
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string text = line + "\n";
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == text.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const std::wstring arguments = ArgumentsOf(::GetCommandLineW());
  if (arguments == L"--stay") {
    ::Sleep(kStayMs);
    return 0;
  }
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return AppendLine(std::wstring(self) + L".log", Utf8(arguments)) ? 0 : 1;
}
