#include "ProgramStreamReader.h"

namespace vcaptest {
namespace {

uint64_t ReadTimeStamp(const uint8_t* p)
{
    return (static_cast<uint64_t>((p[0] >> 1) & 0x7) << 30) | (static_cast<uint64_t>(p[1]) << 22) |
           (static_cast<uint64_t>(p[2] >> 1) << 15) | (static_cast<uint64_t>(p[3]) << 7) | (p[4] >> 1);
}

bool IsStartCode(const std::vector<uint8_t>& d, size_t i, uint8_t code)
{
    return i + 4 <= d.size() && d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1 && d[i + 3] == code;
}

}  // namespace

std::vector<size_t> FindStartCodes(const std::vector<uint8_t>& es, uint8_t code)
{
    std::vector<size_t> at;
    for (size_t i = 0; i + 4 <= es.size(); ++i) {
        if (IsStartCode(es, i, code))
            at.push_back(i);
    }
    return at;
}

std::string ParseProgramStream(const std::vector<uint8_t>& d, ParsedStream& out)
{
    size_t i = 0;
    size_t packStart = 0;
    bool inPack = false;
    auto closePack = [&] {
        if (inPack)
            out.packSizes.push_back(i - packStart);
    };
    while (i < d.size()) {
        if (i + 4 > d.size() || d[i] != 0 || d[i + 1] != 0 || d[i + 2] != 1)
            return "no start code at " + std::to_string(i);
        const uint8_t code = d[i + 3];
        if (code == 0xB9) {
            closePack();
            out.endCode = true;
            i += 4;
            if (i != d.size())
                return "data after the program end code";
            return {};
        }
        if (code == 0xBA) {
            closePack();
            inPack = true;
            packStart = i;
            const uint8_t* p = &d[i + 4];
            if ((p[0] & 0xC0) == 0x40) {
                out.mpeg2 = true;
                const uint64_t base = (static_cast<uint64_t>((p[0] >> 3) & 0x7) << 30) |
                                      (static_cast<uint64_t>(p[0] & 0x3) << 28) | (static_cast<uint64_t>(p[1]) << 20) |
                                      (static_cast<uint64_t>(p[2] >> 3) << 15) | (static_cast<uint64_t>(p[2] & 0x3) << 13) |
                                      (static_cast<uint64_t>(p[3]) << 5) | (p[4] >> 3);
                const uint64_t ext = (static_cast<uint64_t>(p[4] & 0x3) << 7) | (p[5] >> 1);
                out.packScr27.push_back(base * 300 + ext);
                out.packMuxRate50.push_back((static_cast<uint32_t>(p[6]) << 14) | (p[7] << 6) | (p[8] >> 2));
                i += 14 + (p[9] & 0x7);
            } else if ((p[0] & 0xF0) == 0x20) {
                out.packScr27.push_back(ReadTimeStamp(p) * 300);
                out.packMuxRate50.push_back(((static_cast<uint32_t>(p[5]) & 0x7F) << 15) | (p[6] << 7) | (p[7] >> 1));
                i += 12;
            } else {
                return "bad pack header at " + std::to_string(i);
            }
            continue;
        }
        if (!inPack)
            return "packet outside a pack";
        if (i + 6 > d.size())
            return "truncated packet";
        const size_t length = (static_cast<size_t>(d[i + 4]) << 8) | d[i + 5];
        const size_t end = i + 6 + length;
        if (end > d.size())
            return "packet runs past the end at " + std::to_string(i);
        if (code == 0xBB) {
            if (out.packScr27.size() == 1)
                out.systemHeaderInFirstPack = true;
        } else if (code == 0xE0 || code == 0xC0 || code == 0xBD) {
            size_t h = i + 6;
            PesRecord rec;
            rec.packScr27 = out.packScr27.back();
            if (out.mpeg2) {
                if ((d[h] & 0xC0) != 0x80)
                    return "bad PES header at " + std::to_string(i);
                const uint8_t flags = d[h + 1];
                const size_t headerLength = d[h + 2];
                if (flags & 0x80)
                    rec.pts90 = ReadTimeStamp(&d[h + 3]);
                h += 3 + headerLength;
            } else {
                while (d[h] == 0xFF)
                    ++h;
                if ((d[h] & 0xC0) == 0x40)
                    h += 2;
                if ((d[h] & 0xF0) == 0x20) {
                    rec.pts90 = ReadTimeStamp(&d[h]);
                    h += 5;
                } else if ((d[h] & 0xF0) == 0x30) {
                    rec.pts90 = ReadTimeStamp(&d[h]);
                    h += 10;
                } else if (d[h] == 0x0F) {
                    h += 1;
                } else {
                    return "bad MPEG-1 packet header at " + std::to_string(i);
                }
            }
            if (h > end)
                return "header longer than packet at " + std::to_string(i);
            if (code == 0xBD) {
                if (end - h < 7 || d[h] != 0xA0)
                    return "private stream 1 without an LPCM sub-header at " + std::to_string(i);
                out.lpcmHeaders.emplace_back(d.begin() + static_cast<std::ptrdiff_t>(h),
                                             d.begin() + static_cast<std::ptrdiff_t>(h + 7));
                h += 7;
            }
            std::vector<uint8_t>& es = out.es[code];
            rec.esOffset = es.size();
            es.insert(es.end(), d.begin() + static_cast<std::ptrdiff_t>(h), d.begin() + static_cast<std::ptrdiff_t>(end));
            out.packets[code].push_back(rec);
        } else if (code != 0xBE) {
            return "unexpected stream id " + std::to_string(code) + " at " + std::to_string(i);
        }
        i = end;
    }
    closePack();
    return {};
}

}  // namespace vcaptest
