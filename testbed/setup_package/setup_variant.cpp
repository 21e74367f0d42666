#include "setup_variant.h"

#include <cwchar>
#include <vector>

#include "sys/text_convert.h"
#include "sys/unique_handle.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  std::vector<wchar_t> value(32768, L'\0');
  const DWORD length =
      ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  return length > 0 && length < value.size() ? std::wstring(value.data(), length) : std::wstring();
}

bool ParseNumber(const std::wstring& text, DWORD& number) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text.c_str(), &end, 0);
  if (end == nullptr || *end != L'\0') return false;
  number = static_cast<DWORD>(value);
  return true;
}

bool ParseWord(const std::wstring& word, SetupVariant& variant) {
  if (word == L"crash") {
    variant.outcome = SetupVariant::Outcome::Crash;
    return true;
  }
  if (word.rfind(L"run=", 0) == 0) return ParseNumber(word.substr(4), variant.runMs);
  if (word.rfind(L"exit=", 0) == 0) {
    variant.outcome = SetupVariant::Outcome::Exit;
    return ParseNumber(word.substr(5), variant.exitCode);
  }
  return false;
}

std::string ReadFileBytes(const std::wstring& path) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::string();
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes, DWORD disposition) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  if (disposition == OPEN_ALWAYS) ::SetFilePointer(file.get(), 0, nullptr, FILE_END);
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

// Takes the first line off the queue file; false when it has none.
bool TakeQueuedLine(const std::wstring& queue, std::wstring& line) {
  const std::string bytes = ReadFileBytes(queue);
  if (bytes.empty()) return false;
  const size_t end = bytes.find('\n');
  std::string first = bytes.substr(0, end);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  WriteFileBytes(queue, end == std::string::npos ? std::string() : bytes.substr(end + 1),
                 CREATE_ALWAYS);
  line = Utf8ToWide(first);
  return true;
}

}  // namespace

bool ParseSetupVariant(const std::wstring& text, SetupVariant& variant) {
  variant = SetupVariant();
  size_t at = 0;
  while (at < text.size()) {
    const size_t start = text.find_first_not_of(L" \t", at);
    if (start == std::wstring::npos) break;
    const size_t end = text.find_first_of(L" \t", start);
    const std::wstring word = text.substr(start, end == std::wstring::npos ? end : end - start);
    if (!ParseWord(word, variant)) return false;
    at = end == std::wstring::npos ? text.size() : end;
  }
  return true;
}

std::wstring TakeSetupVariantText() {
  const std::wstring queue = Environment(L"TESSARO_SETUP_VARIANT_QUEUE");
  std::wstring line;
  if (!queue.empty() && TakeQueuedLine(queue, line)) return line;
  return Environment(L"TESSARO_SETUP_VARIANT");
}

void RecordCommandLine(const std::wstring& commandLine) {
  const std::wstring log = Environment(L"TESSARO_SETUP_LOG");
  if (!log.empty()) WriteFileBytes(log, WideToUtf8(commandLine) + "\n", OPEN_ALWAYS);
}
