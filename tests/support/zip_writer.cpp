#include "support/zip_writer.h"

#include <zlib.h>

#include <cstdint>

#include "support/temp_folder.h"

namespace {

constexpr uint16_t kVersion = 20;
constexpr uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01

void Put16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Raw deflate (no zlib header), as zip stores it.
bool Deflate(const std::string& data, std::string& out) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    return false;
  }
  out.resize(deflateBound(&stream, static_cast<uLong>(data.size())) + 16);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return status == Z_STREAM_END;
}

struct Prepared {
  uint16_t method;
  uint32_t crc;
  std::string payload;
};

bool Prepare(const ZipFixtureEntry& entry, Prepared& prepared) {
  prepared.crc = static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size())));
  if (entry.corruptCrc) prepared.crc ^= 0xFFFFFFFFu;
  if (entry.method == ZipMethod::Stored) {
    prepared.method = 0;
    prepared.payload = entry.data;
    return true;
  }
  prepared.method = 8;
  return Deflate(entry.data, prepared.payload);
}

// The fields local and central headers share, from "version needed" on.
void PutCommon(std::string& out, const ZipFixtureEntry& entry, const Prepared& prepared) {
  Put16(out, kVersion);
  Put16(out, 0);  // flags
  Put16(out, prepared.method);
  Put16(out, 0);  // time
  Put16(out, kDosDate);
  Put32(out, prepared.crc);
  Put32(out, static_cast<uint32_t>(prepared.payload.size()));
  Put32(out, static_cast<uint32_t>(entry.data.size()));
  Put16(out, static_cast<uint32_t>(entry.name.size()));
  Put16(out, 0);  // extra field length
}

}  // namespace

bool WriteZipArchive(const std::wstring& path, const std::vector<ZipFixtureEntry>& entries) {
  std::string archive;
  std::string central;
  for (const ZipFixtureEntry& entry : entries) {
    Prepared prepared;
    if (!Prepare(entry, prepared)) return false;
    const uint32_t localOffset = static_cast<uint32_t>(archive.size());
    Put32(archive, 0x04034b50);
    PutCommon(archive, entry, prepared);
    archive += entry.name;
    archive += prepared.payload;

    Put32(central, 0x02014b50);
    Put16(central, kVersion);  // made by
    PutCommon(central, entry, prepared);
    Put16(central, 0);  // comment length
    Put16(central, 0);  // disk number
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, localOffset);
    central += entry.name;
  }
  const uint32_t centralOffset = static_cast<uint32_t>(archive.size());
  archive += central;
  Put32(archive, 0x06054b50);
  Put16(archive, 0);
  Put16(archive, 0);
  Put16(archive, static_cast<uint32_t>(entries.size()));
  Put16(archive, static_cast<uint32_t>(entries.size()));
  Put32(archive, static_cast<uint32_t>(central.size()));
  Put32(archive, centralOffset);
  Put16(archive, 0);  // comment length
  return WriteWholeFile(path, archive);
}
