#include "pages/custom_path.h"

#include <cstdio>

#include "sys/path_pieces.h"

std::wstring InstallFolderFor(const std::wstring& chosen, ProductFolders folders) {
  if (folders == ProductFolders::AsIs) return chosen;
  if (chosen.find(PRODUCT_FOLDERS) != std::wstring::npos) return chosen;
  return WithTrailingSeparator(chosen) + PRODUCT_FOLDERS;
}

std::wstring FormatSize(double bytes) {
  constexpr double KB = 1024.0;
  constexpr double MB = KB * 1024.0;
  constexpr double GB = MB * 1024.0;
  constexpr double TB = GB * 1024.0;
  const char* unit = "B";
  double value = bytes;
  if (bytes >= TB) {
    unit = "TB";
    value = bytes / TB;
  } else if (bytes >= GB) {
    unit = "GB";
    value = bytes / GB;
  } else if (bytes >= MB) {
    unit = "MB";
    value = bytes / MB;
  } else if (bytes > KB) {
    unit = "KB";
    value = bytes / KB;
  }
  char text[64];
  std::snprintf(text, sizeof(text), "%.1f %s", value, unit);
  return std::wstring(text, text + std::char_traits<char>::length(text));
}
