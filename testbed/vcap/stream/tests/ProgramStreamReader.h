#pragma once
// A strict reader of the generator's output for the tests: splits packs and packets, checks
// their framing, and gathers each elementary stream with its time stamps.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vcaptest {

struct PesRecord {
    uint64_t packScr27 = 0;
    std::optional<uint64_t> pts90;
    size_t esOffset = 0;  // where the payload starts in the stream's gathered bytes
};

struct ParsedStream {
    bool mpeg2 = false;
    std::vector<uint64_t> packScr27;
    std::vector<uint32_t> packMuxRate50;
    std::vector<size_t> packSizes;
    bool systemHeaderInFirstPack = false;
    bool endCode = false;
    std::map<uint8_t, std::vector<uint8_t>> es;          // by stream id (0xBD: without sub-header)
    std::map<uint8_t, std::vector<PesRecord>> packets;   // by stream id
    std::vector<std::vector<uint8_t>> lpcmHeaders;       // the 7-byte sub-headers
};

// Empty string on success, else where and why the stream is malformed.
std::string ParseProgramStream(const std::vector<uint8_t>& data, ParsedStream& out);

// Offsets of every 00 00 01 `code` in `es`.
std::vector<size_t> FindStartCodes(const std::vector<uint8_t>& es, uint8_t code);

}  // namespace vcaptest
