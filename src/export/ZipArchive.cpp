#include "ZipArchive.h"

#include <array>
#include <cstdint>

#include "StbImageWrite.h"

namespace {

std::uint32_t crc32(const std::string& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

struct Stored {
    std::uint32_t crc, size, packedSize, offset;
    unsigned method;  // 0 stored, 8 deflated
};

// The fields a local header and a central record share, from the version
// needed on: version, flags, method, time, date, crc, sizes, name length.
void putCommon(std::string& out, const ZipEntry& entry, const Stored& s) {
    put16(out, 20);
    put16(out, 0x0800);  // names are UTF-8
    put16(out, s.method);
    put16(out, 0);       // 00:00
    put16(out, 0x21);    // 1980-01-01
    put32(out, s.crc);
    put32(out, s.packedSize);
    put32(out, s.size);
    put16(out, static_cast<unsigned>(entry.name.size()));
}

}  // namespace

std::string Deflated(const std::string& bytes) {
    // A zlib stream: two bytes of header, the deflate stream, four of checksum.
    const std::string zlib = ZlibCompressed(bytes);
    return zlib.size() > 6 ? zlib.substr(2, zlib.size() - 6) : std::string();
}

std::string ZipBytes(const std::vector<ZipEntry>& entries) {
    std::string out;
    std::vector<Stored> stored;
    for (const ZipEntry& entry : entries) {
        std::string packed = Deflated(entry.bytes);
        const bool deflate = !packed.empty() && packed.size() < entry.bytes.size();
        const Stored s{crc32(entry.bytes), static_cast<std::uint32_t>(entry.bytes.size()),
                       static_cast<std::uint32_t>(deflate ? packed.size() : entry.bytes.size()),
                       static_cast<std::uint32_t>(out.size()), deflate ? 8u : 0u};
        put32(out, 0x04034B50u);
        putCommon(out, entry, s);
        put16(out, 0);  // no extra field
        out += entry.name;
        out += deflate ? packed : entry.bytes;
        stored.push_back(s);
    }
    const std::uint32_t directory = static_cast<std::uint32_t>(out.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        put32(out, 0x02014B50u);
        put16(out, 20);  // made by: MS-DOS attributes, version 2.0
        putCommon(out, entries[i], stored[i]);
        put16(out, 0);   // extra
        put16(out, 0);   // comment
        put16(out, 0);   // disk
        put16(out, 0);   // internal attributes
        put32(out, 0);   // external attributes
        put32(out, stored[i].offset);
        out += entries[i].name;
    }
    const std::uint32_t directorySize = static_cast<std::uint32_t>(out.size()) - directory;
    put32(out, 0x06054B50u);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(entries.size()));
    put16(out, static_cast<unsigned>(entries.size()));
    put32(out, directorySize);
    put32(out, directory);
    put16(out, 0);
    return out;
}
