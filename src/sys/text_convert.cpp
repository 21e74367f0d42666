#include "sys/text_convert.h"

#include <windows.h>

#include <new>

namespace {

// The input is passed with length -1 so the system converts the
// NUL-terminated form: an embedded NUL ends the text. The buffer gets one
// spare zero unit and the result is cut at its first NUL.
std::wstring NarrowToWide(UINT codePage, const std::string& text) {
  const int needed = ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  if (needed <= 0) return std::wstring();
  try {
    std::wstring buffer(static_cast<size_t>(needed) + 1, L'\0');
    if (::MultiByteToWideChar(codePage, 0, text.c_str(), -1, &buffer[0], needed) <= 0) {
      return std::wstring();
    }
    return std::wstring(buffer.c_str());
  } catch (const std::bad_alloc&) {
    return std::wstring();
  }
}

std::string WideToNarrow(UINT codePage, const std::wstring& text) {
  const int needed =
      ::WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  try {
    std::string buffer(static_cast<size_t>(needed) + 1, '\0');
    if (::WideCharToMultiByte(codePage, 0, text.c_str(), -1, &buffer[0], needed, nullptr,
                              nullptr) <= 0) {
      return std::string();
    }
    return std::string(buffer.c_str());
  } catch (const std::bad_alloc&) {
    return std::string();
  }
}

}  // namespace

std::wstring AnsiToWide(const std::string& text) { return NarrowToWide(CP_ACP, text); }

std::string WideToAnsi(const std::wstring& text) { return WideToNarrow(CP_ACP, text); }

std::string WideToUtf8(const std::wstring& text) { return WideToNarrow(CP_UTF8, text); }

std::wstring Utf8ToWide(const std::string& text) { return NarrowToWide(CP_UTF8, text); }
