// Speed, size and quality of the encoder against libjpeg-turbo on the same pictures, with the
// same quantisation tables, sampling, restart interval and standard Huffman tables, and no
// colour conversion on either side (libjpeg-turbo takes the planes as raw data).
//
// usage: jpeg_bench            (runs everything; re-runs itself with JSIMD_FORCENONE=1 for
//                               libjpeg-turbo without SIMD)
//        jpeg_bench --pair     (only the timings of both encoders, one line per case)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "JpegDct.h"
#include "JpegEncoder.h"
#include "JpegTables.h"
#include "JpegTestPictures.h"

namespace {

struct Case {
    const char* picture;
    int width, height, format, quality, noise;
    uint32_t seed;
};

const Case kCases[] = {
    {"camera 720x480", 720, 480, kJpegRgb, 100, 3, 1},
    {"camera 720x480", 720, 480, kJpegYCbCr420, 75, 3, 1},
    {"photo 2560x1920", 2560, 1920, kJpegRgb, 100, 2, 7},
    {"photo 2560x1920", 2560, 1920, kJpegYCbCr420, 75, 2, 7},
};

const char* FormatName(int format) {
    switch (format) {
    case kJpegYCbCr420: return "4:2:0";
    case kJpegYCbCr422: return "4:2:2";
    case kJpegYCbCr444: return "4:4:4";
    case kJpegGrey: return "grey";
    default: return "RGB";
    }
}

JpegEncoderParams ParamsOf(const Case& c) {
    return JpegEncoderParams{c.height, c.width, 8, c.format, c.quality, kJpegBaseline};
}

struct Planes {
    int count;
    int w[3], h[3];
    const uint8_t* data[3];
};

Planes Split(const Case& c, const std::vector<uint8_t>& input) {
    Planes p{};
    p.count = c.format == kJpegGrey ? 1 : 3;
    const bool halfW = c.format == kJpegYCbCr420 || c.format == kJpegYCbCr422;
    const bool halfH = c.format == kJpegYCbCr420;
    size_t at = 0;
    for (int i = 0; i < p.count; ++i) {
        p.w[i] = i && halfW ? (c.width + 1) / 2 : c.width;
        p.h[i] = i && halfH ? (c.height + 1) / 2 : c.height;
        p.data[i] = input.data() + at;
        at += static_cast<size_t>(p.w[i]) * p.h[i];
    }
    return p;
}

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    std::fprintf(stderr, "libjpeg-turbo: %s\n", message);
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Encodes with libjpeg-turbo set up like our encoder; the raw planes must cover whole MCUs.
std::vector<uint8_t> EncodeLibjpeg(const Case& c, const Planes& planes) {
    jpeg_compress_struct info{};
    ErrorManager error{};
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    size = static_cast<unsigned long>(c.width) * c.height * 4 + 65536;
    buffer = static_cast<unsigned char*>(std::malloc(size));
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = c.width;
    info.image_height = c.height;
    info.input_components = planes.count;
    info.in_color_space = c.format == kJpegGrey ? JCS_GRAYSCALE : c.format == kJpegRgb ? JCS_RGB : JCS_YCbCr;
    jpeg_set_defaults(&info);  // also the standard Huffman tables
    jpeg_set_colorspace(&info, info.in_color_space);  // RGB: Adobe marker, no transform
    const jpeg::QuantTable luma = jpeg::MakeQuantTable(jpeg::kLuminanceQuant, c.quality);
    const jpeg::QuantTable chroma = jpeg::MakeQuantTable(
        c.format == kJpegRgb ? jpeg::kLuminanceQuant : jpeg::kChrominanceQuant, c.quality);
    unsigned int table[64];
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < 64; ++i) table[i] = (t ? chroma : luma).entry[i];
        jpeg_add_quant_table(&info, t, table, 100, TRUE);
    }
    for (int i = 0; i < planes.count; ++i) {
        info.comp_info[i].h_samp_factor = i == 0 && (c.format == kJpegYCbCr420 || c.format == kJpegYCbCr422) ? 2 : 1;
        info.comp_info[i].v_samp_factor = i == 0 && c.format == kJpegYCbCr420 ? 2 : 1;
        info.comp_info[i].quant_tbl_no = i == 0 ? 0 : 1;
        info.comp_info[i].dc_tbl_no = info.comp_info[i].ac_tbl_no = i == 0 ? 0 : 1;
    }
    info.raw_data_in = TRUE;
    info.optimize_coding = FALSE;
    info.restart_in_rows = 1;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&info, TRUE);

    const int mcuRows = info.max_v_samp_factor * DCTSIZE;
    std::vector<JSAMPROW> rows[3];
    JSAMPARRAY arrays[3];
    for (int i = 0; i < planes.count; ++i) {
        rows[i].resize(info.comp_info[i].v_samp_factor * DCTSIZE);
        arrays[i] = rows[i].data();
    }
    while (info.next_scanline < info.image_height) {
        for (int i = 0; i < planes.count; ++i) {
            const int v = info.comp_info[i].v_samp_factor;
            const int first = static_cast<int>(info.next_scanline) * v / info.max_v_samp_factor;
            for (int r = 0; r < v * DCTSIZE; ++r) {
                const int y = std::min(first + r, planes.h[i] - 1);
                rows[i][r] = const_cast<JSAMPROW>(planes.data[i] + static_cast<size_t>(y) * planes.w[i]);
            }
        }
        jpeg_write_raw_data(&info, arrays, mcuRows);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

std::vector<uint8_t> EncodeOurs(const Case& c, const std::vector<uint8_t>& input) {
    JpegEncoder* encoder = nullptr;
    if (CreateJpegEncoder(ParamsOf(c), &encoder) != kJpegOk) return {};
    std::vector<uint8_t> out(static_cast<size_t>(c.width) * c.height * 4 + 65536);
    size_t size = out.size();
    const int result = EncodeJpeg(encoder, input.data(), out.data(), &size);
    DestroyJpegEncoder(encoder);
    if (result != kJpegOk) return {};
    out.resize(size);
    return out;
}

// Decodes to the coded planes (no colour conversion, no upsampling) and compares.
double Psnr(const std::vector<uint8_t>& stream, const Planes& source) {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnError;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, stream.data(), stream.size());
    jpeg_read_header(&info, TRUE);
    info.raw_data_out = TRUE;
    info.out_color_space = info.jpeg_color_space;
    jpeg_start_decompress(&info);
    const int rowsPerCall = info.max_v_samp_factor * DCTSIZE;
    std::vector<std::vector<uint8_t>> store(info.num_components);
    std::vector<std::vector<JSAMPROW>> rows(info.num_components);
    std::vector<JSAMPARRAY> arrays(info.num_components);
    for (int i = 0; i < info.num_components; ++i) {
        const int stride = info.comp_info[i].width_in_blocks * DCTSIZE;
        const int lines = info.comp_info[i].v_samp_factor * DCTSIZE;
        store[i].resize(static_cast<size_t>(stride) * lines);
        rows[i].resize(lines);
        for (int r = 0; r < lines; ++r) rows[i][r] = store[i].data() + static_cast<size_t>(r) * stride;
        arrays[i] = rows[i].data();
    }
    double squares = 0;
    size_t count = 0;
    while (info.output_scanline < info.output_height) {
        const int firstLuma = static_cast<int>(info.output_scanline);
        jpeg_read_raw_data(&info, arrays.data(), rowsPerCall);
        for (int i = 0; i < source.count; ++i) {
            const int v = info.comp_info[i].v_samp_factor;
            const int first = firstLuma * v / info.max_v_samp_factor;
            for (int r = 0; r < v * DCTSIZE && first + r < source.h[i]; ++r) {
                const uint8_t* want = source.data[i] + static_cast<size_t>(first + r) * source.w[i];
                for (int x = 0; x < source.w[i]; ++x) {
                    const double d = static_cast<double>(rows[i][r][x]) - want[x];
                    squares += d * d;
                    ++count;
                }
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return squares == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * count / squares);
}

// Speeds of two encoders in megapixels per second: best of several runs each, the runs
// alternating so that both see the same load on a shared machine.
template <typename A, typename B>
std::pair<double, double> MegapixelsPerSecond(const Case& c, A first, B second) {
    const double pixels = static_cast<double>(c.width) * c.height;
    const int runs = pixels > 1e6 ? 8 : 30;
    double bestFirst = 1e9, bestSecond = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        first();
        auto middle = std::chrono::steady_clock::now();
        second();
        auto end = std::chrono::steady_clock::now();
        bestFirst = std::min(bestFirst, std::chrono::duration<double>(middle - start).count());
        bestSecond = std::min(bestSecond, std::chrono::duration<double>(end - middle).count());
    }
    return {pixels / bestFirst / 1e6, pixels / bestSecond / 1e6};
}

// DHT and DQT segments of a stream, to confirm both encoders use the same tables.
std::map<std::string, int> TableSegments(const std::vector<uint8_t>& s) {
    std::map<std::string, int> tables;
    for (size_t i = 2; i + 4 <= s.size() && s[i] == 0xFF && s[i + 1] != 0xDA;) {
        const size_t length = static_cast<size_t>(s[i + 2]) << 8 | s[i + 3];
        if (s[i + 1] == 0xC4 || s[i + 1] == 0xDB)
            ++tables[std::string(s.begin() + i, s.begin() + std::min(s.size(), i + 2 + length))];
        i += 2 + length;
    }
    return tables;
}

// Our speed and libjpeg-turbo's, measured together, one line per case.
int MeasureAgainstLibjpeg() {
    for (const Case& c : kCases) {
        const std::vector<uint8_t> input = jpegtest::MakePicture(ParamsOf(c), c.noise, c.seed);
        const Planes planes = Split(c, input);
        const auto speeds = MegapixelsPerSecond(c, [&] { EncodeOurs(c, input); },
                                                [&] { EncodeLibjpeg(c, planes); });
        std::printf("%.2f %.2f\n", speeds.first, speeds.second);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--pair") == 0) return MeasureAgainstLibjpeg();

    // libjpeg-turbo picks its SIMD once per process: the scalar figures come from a second
    // process, which times this encoder alongside for the ratio.
    std::vector<std::pair<double, double>> scalar;
    const std::string command = std::string("JSIMD_FORCENONE=1 '") + argv[0] + "' --pair";
    if (FILE* child = popen(command.c_str(), "r")) {
        double ours, theirs;
        while (std::fscanf(child, "%lf %lf", &ours, &theirs) == 2) scalar.emplace_back(ours, theirs);
        pclose(child);
    }

    std::printf("%-16s %-6s %3s | %-29s | %-29s | %s\n", "picture", "format", "q",
                "this encoder: MP/s bytes PSNR", "libjpeg-turbo SIMD: same", "scalar run: ours, libjpeg-turbo, ratio");
    bool sameTables = true;
    for (size_t n = 0; n < std::size(kCases); ++n) {
        const Case& c = kCases[n];
        const std::vector<uint8_t> input = jpegtest::MakePicture(ParamsOf(c), c.noise, c.seed);
        const Planes planes = Split(c, input);
        const std::vector<uint8_t> ours = EncodeOurs(c, input);
        const std::vector<uint8_t> theirs = EncodeLibjpeg(c, planes);
        if (ours.empty() || theirs.empty()) {
            std::printf("%s %s: encoding failed\n", c.picture, FormatName(c.format));
            return 1;
        }
        sameTables = sameTables && TableSegments(ours) == TableSegments(theirs);
        const auto speeds = MegapixelsPerSecond(c, [&] { EncodeOurs(c, input); },
                                                [&] { EncodeLibjpeg(c, planes); });
        const auto paired = n < scalar.size() ? scalar[n] : std::pair<double, double>(0, 0);
        std::printf("%-16s %-6s %3d | %6.1f %8zu %5.2f dB | %6.1f %8zu %5.2f dB | %6.1f %6.1f  x%.2f\n",
                    c.picture, FormatName(c.format), c.quality, speeds.first, ours.size(),
                    Psnr(ours, planes), speeds.second, theirs.size(), Psnr(theirs, planes),
                    paired.first, paired.second, paired.second > 0 ? paired.first / paired.second : 0.0);
    }
    std::printf("quantisation and Huffman table segments identical to libjpeg-turbo's: %s\n",
                sameTables ? "yes" : "NO");
    std::printf("(MP/s: best of several alternating runs; ratio: this encoder over libjpeg-turbo "
                "without SIMD, timed in the same process)\n");
    return sameTables ? 0 : 1;
}
