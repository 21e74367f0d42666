// The custom install page's rules for the folder the user chose and for the
// sizes it shows. Pure functions.
#pragma once

#include <string>

// Whether a chosen folder gets the product folders appended.
enum class ProductFolders {
  Append,  // Orvane\Tessaro is appended unless the folder already contains it
  AsIs,    // the folder of an existing installation, taken unchanged
};

// The product folders every chosen folder ends up in.
constexpr wchar_t PRODUCT_FOLDERS[] = L"Orvane\\Tessaro";

// The install folder for a chosen folder: D:\Apps gives D:\Apps\Orvane\Tessaro,
// D:\ gives D:\Orvane\Tessaro, a folder already containing Orvane\Tessaro
// (case-sensitive) is kept.
std::wstring InstallFolderFor(const std::wstring& chosen, ProductFolders folders);

// A byte count with one decimal in B, KB, MB, GB or TB (units of 1024): up
// to 1024 bytes in B; an exact power of 1024 from 1 MB on takes the larger
// unit (1048576 gives "1.0 MB").
std::wstring FormatSize(double bytes);
