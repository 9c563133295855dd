#pragma once

// A zip archive made in memory, for file formats that are zip packages
// (3MF). Entries are deflated where that makes them smaller, and carry a
// fixed date, so that the same entries always give the same bytes.

#include <string>
#include <vector>

struct ZipEntry {
    std::string name;
    std::string bytes;
};

std::string ZipBytes(const std::vector<ZipEntry>& entries);

// The raw deflate stream of the bytes (no zlib header or checksum).
std::string Deflated(const std::string& bytes);
