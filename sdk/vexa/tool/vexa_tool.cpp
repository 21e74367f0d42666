// Vexa.exe, the companion tool of Vexa.dll:
//   Vexa.exe spool [--spool DIR]
//       prints the records waiting in the spool as a JSON array, oldest first
//   Vexa.exe flush --host H --port P --path /x [--spool DIR]
//       uploads them now; exit code 0 when the spool was emptied, 1 when an
//       upload failed, 2 for a usage error
// The spool is the "spool" folder beside Vexa.exe (and so beside Vexa.dll)
// unless --spool names another.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "sys/text_convert.h"
#include "vexa/core/spool.h"
#include "vexa/core/spool_upload.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void Print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

int Usage() {
  Print("usage: Vexa.exe spool [--spool DIR]\n"
        "       Vexa.exe flush --host H --port P --path /x [--spool DIR]\n");
  return kExitUsage;
}

// "--name value" pairs after the command; false on anything else.
bool ParseOptions(int argc, wchar_t** argv, std::map<std::wstring, std::wstring>& options) {
  for (int i = 2; i < argc; i += 2) {
    const std::wstring name = argv[i];
    if (name.size() < 3 || name.compare(0, 2, L"--") != 0 || i + 1 >= argc) return false;
    options[name.substr(2)] = argv[i + 1];
  }
  return true;
}

std::wstring SpoolFolder(const std::map<std::wstring, std::wstring>& options) {
  const auto given = options.find(L"spool");
  if (given == options.end()) return SpoolFolderBesideModule(reinterpret_cast<const void*>(&SpoolFolder));
  std::wstring folder = given->second;
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

int PrintSpool(const Spool& spool) {
  std::string json = "[";
  const std::vector<Spool::Entry> entries = spool.Oldest(static_cast<size_t>(-1), static_cast<size_t>(-1));
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string line = entries[i].line;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    json += (i == 0 ? "\n  " : ",\n  ") + line;
  }
  json += entries.empty() ? "]\n" : "\n]\n";
  Print(json);
  return kExitOk;
}

int Flush(const Spool& spool, const std::map<std::wstring, std::wstring>& options) {
  UploadTarget target;
  const auto host = options.find(L"host");
  const auto port = options.find(L"port");
  const auto path = options.find(L"path");
  if (host == options.end() || port == options.end() || path == options.end()) return Usage();
  target.host = WideToUtf8(host->second);
  target.port = static_cast<int>(std::wcstol(port->second.c_str(), nullptr, 10));
  target.path = WideToUtf8(path->second);
  if (!target.Complete()) return Usage();
  WSADATA data;
  if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return kExitFailed;
  const DrainResult result = DrainSpool(spool, target, nullptr);
  ::WSACleanup();
  const size_t left = spool.RecordFiles().size();
  Print(result == DrainResult::Empty ? "flush: spool emptied\n"
                                     : "flush: upload failed, " + std::to_string(left) + " record(s) kept\n");
  return result == DrainResult::Empty ? kExitOk : kExitFailed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  std::map<std::wstring, std::wstring> options;
  if (!ParseOptions(argc, argv, options)) return Usage();
  const Spool spool(SpoolFolder(options));
  if (spool.Folder().empty()) return kExitFailed;
  const std::wstring command = argv[1];
  if (command == L"spool") return PrintSpool(spool);
  if (command == L"flush") return Flush(spool, options);
  return Usage();
}
