// The damage generator: a fixed menu of damage kinds picked in turn by index, each with
// random details from a generator seeded by (seed, index).
#include "DamageGenerator.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>

namespace damage {
namespace {

class Dice {
public:
    Dice(unsigned seed, int index) : engine_(seed * 1000003u + static_cast<unsigned>(index)) {}
    // 0 to n - 1, the same on every platform (no library distribution involved).
    std::size_t Below(std::size_t n) { return n ? engine_() % n : 0; }
    std::uint32_t Word() { return engine_(); }

private:
    std::mt19937 engine_;
};

void Put16(std::string& b, std::size_t at, std::uint32_t v)
{
    if (at + 2 > b.size())
        return;
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& b, std::size_t at, std::uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

std::string MakeBitmap(int width, int height, int bits, std::uint32_t compression, std::uint32_t headerSize)
{
    const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;
    const std::uint32_t masks = compression == 3 && headerSize == 40 ? 12 : 0;
    const std::uint32_t offset = 14 + headerSize + masks + colours * 4;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    std::string b(offset + stride * rows, '\0');
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, headerSize);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bits));
    Put32(b, 30, compression);
    Put32(b, 34, stride * rows);
    if (masks)
        Put32(b, 54, 0xF800), Put32(b, 58, 0x07E0), Put32(b, 62, 0x001F);
    for (std::size_t i = offset; i < b.size(); ++i)
        b[i] = static_cast<char>(i * 37);
    return b;
}

// A 16 x 8 picture in 8-bit run-length codes: a run and a literal per row.
std::string MakeRunLengthBitmap()
{
    std::string b = MakeBitmap(16, 8, 8, 1, 40);
    b.resize(14 + 40 + 1024);
    std::string codes;
    for (int row = 0; row < 8; ++row)
        codes += std::string{10, static_cast<char>(row), 0, 6, 1, 2, 3, 4, 5, 6, 0, 0};
    codes += std::string{0, 1};
    b += codes;
    Put32(b, 34, static_cast<std::uint32_t>(codes.size()));
    return b;
}

// Values that make header arithmetic go wrong.
std::uint32_t NastyValue(Dice& dice, std::size_t fileSize)
{
    const std::uint32_t values[] = {0, 1, 2, 13, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 8193, 30000, 40000, 65535,
                                    100000, static_cast<std::uint32_t>(fileSize), static_cast<std::uint32_t>(fileSize + 1),
                                    static_cast<std::uint32_t>(fileSize / 2)};
    return dice.Below(4) == 0 ? dice.Word() : values[dice.Below(std::size(values))];
}

std::string ReplaceNumbers(const std::string& text, const char* const* names, std::size_t count, Dice& dice)
{
    static const char* const kHuge[] = {"2147483647", "-2147483648", "2147483000", "99999999999", "-1", "65536",
                                        "1000000", "-700", "513", "0"};
    std::string out = text;
    for (std::size_t n = 0; n < count; ++n) {
        const std::string key = std::string(names[n]) + "=\"";
        for (std::size_t at = out.find(key); at != std::string::npos; at = out.find(key, at + 1)) {
            if (dice.Below(3) != 0)
                continue;
            const std::size_t start = at + key.size(), end = out.find('"', start);
            if (end == std::string::npos)
                break;
            out.replace(start, end - start, kHuge[dice.Below(std::size(kHuge))]);
        }
    }
    return out;
}

// A document type declaration after the XML declaration, and its entities used in an attribute.
std::string WithDocumentType(const std::string& text, const std::string& root, Dice& dice, std::string* what)
{
    std::string subset, use;
    switch (dice.Below(4)) {
    case 0:
        *what = "internal entity repeated in an attribute";
        subset = "<!ENTITY big \"" + std::string(1024, 'x') + "\">";
        for (int i = 0; i < 2000; ++i)
            use += "&big;";
        break;
    case 1:
        *what = "nested entities";
        subset = "<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 10; ++i)
            subset += "<!ENTITY l" + std::to_string(i) + " \"" + [&] {
                std::string s;
                for (int k = 0; k < 10; ++k)
                    s += "&l" + std::to_string(i - 1) + ";";
                return s;
            }() + "\">";
        use = "&l9;";
        break;
    case 2:
        *what = "external entity";
        subset = "<!ENTITY ext SYSTEM \"file:///c:/windows/win.ini\">";
        use = "&ext;";
        break;
    default:
        *what = "parameter entity";
        subset = "<!ENTITY % p \"<!ENTITY q 'qqqqqqqq'>\"> %p;";
        use = "&q;";
    }
    std::string out = text;
    const std::size_t body = out.find("<" + root);
    if (body == std::string::npos)
        return out;
    // The entities go into the first attribute value of the second element.
    const std::size_t quote = out.find("=\"", out.find('<', body + 1));
    if (quote != std::string::npos)
        out.insert(quote + 2, use);
    out.insert(body, "<!DOCTYPE " + root + " [" + subset + "]>\n");
    return out;
}

std::string ToUtf16(const std::string& ascii)
{
    std::string out = "\xFF\xFE";
    for (char c : ascii)
        out += c, out += '\0';
    return out;
}

}  // namespace

std::vector<std::string> MadeBitmaps()
{
    return {MakeBitmap(9, 5, 1, 0, 40),    MakeBitmap(7, 5, 4, 0, 40),   MakeBitmap(12, 6, 16, 0, 40),
            MakeBitmap(6, 6, 16, 3, 40),   MakeBitmap(5, -4, 32, 3, 124), MakeBitmap(8, 3, 24, 0, 108),
            MakeRunLengthBitmap()};
}

Sample DamagedBitmap(const std::vector<std::string>& originals, unsigned seed, int index)
{
    Dice dice(seed, index);
    const std::size_t source = dice.Below(originals.size());
    Sample s;
    s.bytes = originals[source];
    std::string& b = s.bytes;
    const std::string from = " of original " + std::to_string(source);
    static const std::size_t kFields[] = {2, 10, 14, 18, 22, 26, 28, 30, 34, 46};
    switch (index % 8) {
    case 0: {
        const std::size_t at = dice.Below(b.size());
        b.resize(at);
        s.what = "cut at " + std::to_string(at) + from;
        break;
    }
    case 1: {
        const std::size_t field = kFields[dice.Below(std::size(kFields))];
        const std::uint32_t value = NastyValue(dice, b.size());
        Put32(b, field, value);
        s.what = "field at " + std::to_string(field) + " set to " + std::to_string(value) + from;
        break;
    }
    case 2: {
        const std::size_t flips = 1 + dice.Below(8);
        for (std::size_t i = 0; i < flips; ++i)
            b[dice.Below(std::min<std::size_t>(b.size(), 70))] = static_cast<char>(dice.Word());
        s.what = std::to_string(flips) + " header bytes flipped" + from;
        break;
    }
    case 3: {
        const std::uint32_t offset = static_cast<std::uint32_t>(dice.Below(b.size() * 2 + 1));
        Put32(b, 10, offset);
        s.what = "pixel offset " + std::to_string(offset) + from;
        break;
    }
    case 4: {
        const std::uint32_t width = 1 + static_cast<std::uint32_t>(dice.Below(50000));
        const std::uint32_t height = 1 + static_cast<std::uint32_t>(dice.Below(50000));
        Put32(b, 18, width);
        Put32(b, 22, dice.Below(2) ? height : static_cast<std::uint32_t>(-static_cast<std::int32_t>(height)));
        s.what = "size " + std::to_string(width) + " x " + std::to_string(height) + from;
        break;
    }
    case 5: {
        const std::size_t keep = b.size() - dice.Below(b.size() / 2 + 1);
        b.resize(keep);
        b.append(dice.Below(64), static_cast<char>(dice.Word()));
        s.what = "tail replaced after " + std::to_string(keep) + from;
        break;
    }
    case 6: {
        const std::size_t flips = 1 + dice.Below(32);
        for (std::size_t i = 0; i < flips; ++i)
            b[dice.Below(b.size())] = static_cast<char>(dice.Word());
        static const std::uint32_t kDepths[] = {1, 4, 8, 16, 24, 32};
        Put16(b, 28, kDepths[dice.Below(std::size(kDepths))]);
        Put32(b, 30, static_cast<std::uint32_t>(dice.Below(4)));
        s.what = "bit depth, compression and " + std::to_string(flips) + " bytes changed" + from;
        break;
    }
    default: {
        Put32(b, 46, NastyValue(dice, b.size()) & 0x1FF);
        static const std::uint32_t kHeaderSizes[] = {12, 40, 52, 56, 64, 108, 124, 0};
        Put32(b, 14, kHeaderSizes[dice.Below(std::size(kHeaderSizes))]);
        s.what = "header size and colour count changed" + from;
    }
    }
    return s;
}

Sample DamagedDocument(const std::string& original, const std::string& root, unsigned seed, int index)
{
    Dice dice(seed, index);
    Sample s;
    std::string& text = s.bytes;
    text = original;
    auto position = [&] { return dice.Below(text.size()); };
    switch (index % 8) {
    case 0:
        for (int i = 0; i < 4; ++i)
            text[position()] = static_cast<char>(dice.Word());
        s.what = "bytes flipped";
        break;
    case 1: {
        const std::size_t at = position();
        text.resize(at);
        s.what = "cut at " + std::to_string(at);
        break;
    }
    case 2: {
        const std::size_t at = position();
        text.insert(at, text.substr(position(), 1 + dice.Below(200)));
        s.what = "slice doubled at " + std::to_string(at);
        break;
    }
    case 3: {
        const std::size_t at = position();
        text.erase(at, 1 + dice.Below(200));
        s.what = "slice dropped at " + std::to_string(at);
        break;
    }
    case 4: {
        static const char* const kStray[] = {"<", ">", "\"", "&", "</QorDlg>", "<QorDlg", "&#0;", "<![CDATA[",
                                             "\xEF\xBB\xBF", "&unknown;", "<?pi ?>", "<!-- -->"};
        const char* stray = kStray[dice.Below(std::size(kStray))];
        text.insert(position(), stray);
        s.what = std::string("stray \"") + stray + "\"";
        break;
    }
    case 5:
    case 6: {
        std::string what;
        text = WithDocumentType(text, root, dice, &what);
        if (index % 16 == 6) {
            text = ToUtf16(text);
            what += " (UTF-16)";
        }
        s.what = "document type with " + what;
        s.declaresDocumentType = true;
        break;
    }
    default: {
        static const char* const kNumbers[] = {"FontHeight", "FontWidth", "FontWeight", "FontEscapement",
                                               "ControlXOffset", "ControlYOffset", "DlgIdValue", "ControlIdValue",
                                               "ControlId", "TextColor1", "MinimumWidth", "MaximumWidth"};
        text = ReplaceNumbers(text, kNumbers, std::size(kNumbers), dice);
        s.what = "numbers replaced with absurd ones";
    }
    }
    return s;
}

}  // namespace damage
