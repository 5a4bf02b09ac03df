// Encodes every format and mode at awkward sizes and several qualities and leaves the streams,
// their source planes and a manifest in the test's output folder, where check_decoders.py has
// djpeg and ffmpeg decode them and compares the pictures with the sources.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "JpegEncoder.h"
#include "JpegTestPictures.h"

namespace {

std::string OutputDir() {
    std::string dir = ".";
    if (const char* env = std::getenv("MAROVIN_TEST_OUT"); env && *env) dir = env;
#ifdef _WIN32
    if (dir[0] == '/') dir = "Z:" + dir;  // Wine maps the Unix root to drive Z:
#endif
    return dir + "/";
}

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

struct Size {
    int width, height;
};

TEST(JpegCorpus, EncodesEveryFormatModeSizeAndQuality) {
    const std::string dir = OutputDir();
    std::ofstream manifest(dir + "manifest.txt");
    ASSERT_TRUE(manifest) << dir;
    const Size sizes[] = {{1, 1}, {7, 9}, {17, 33}, {721, 481}, {720, 480}};
    int files = 0;
    for (int format = 1; format <= 5; ++format) {
        for (const Size& size : sizes) {
            const bool snapshot = size.width == 720;
            if (snapshot && format != kJpegRgb) continue;  // the snapshot case only
            JpegEncoderParams p{size.height, size.width, 8, format, 100, kJpegBaseline};
            const std::vector<uint8_t> planes = jpegtest::MakePicture(p, 3, format);
            const std::string source = "f" + std::to_string(format) + "_" +
                                       std::to_string(size.width) + "x" +
                                       std::to_string(size.height) + ".raw";
            ASSERT_TRUE(WriteFile(dir + source, planes.data(), planes.size()));
            for (int mode : {kJpegBaseline, kJpegProgressive}) {
                for (int quality : {1, 50, 100}) {
                    if (snapshot && (mode != kJpegBaseline || quality != 100)) continue;
                    p.mode = mode;
                    p.quality = quality;
                    JpegEncoder* encoder = nullptr;
                    ASSERT_EQ(CreateJpegEncoder(p, &encoder), kJpegOk);
                    std::vector<uint8_t> out(1036800 + planes.size() * 2);
                    size_t bytes = out.size();
                    const int result = EncodeJpeg(encoder, planes.data(), out.data(), &bytes);
                    DestroyJpegEncoder(encoder);
                    ASSERT_EQ(result, kJpegOk) << source << " mode " << mode << " q" << quality;
                    const std::string name = source.substr(0, source.size() - 4) + "_m" +
                                             std::to_string(mode) + "_q" +
                                             std::to_string(quality) + ".jpg";
                    ASSERT_TRUE(WriteFile(dir + name, out.data(), bytes));
                    manifest << name << ' ' << source << ' ' << format << ' ' << mode << ' '
                             << size.width << ' ' << size.height << ' ' << quality << '\n';
                    ++files;
                }
            }
        }
    }
    EXPECT_EQ(files, 5 * 4 * 2 * 3 + 1);
}

}  // namespace
