// The prolog scan: reads code units of the detected width and byte order, and looks at ASCII
// only, which is all the prolog's markup is made of.
#include "QorXmlProlog.h"

#include <cctype>
#include <string_view>

namespace qorxml {
namespace {

class Units {
public:
    Units(std::span<const std::uint8_t> bytes, std::size_t width, bool bigEndian, std::size_t skip)
        : bytes_(bytes), width_(width), bigEndian_(bigEndian), at_(skip)
    {
    }

    bool AtEnd() const { return at_ + width_ > bytes_.size(); }

    // The unit `ahead` units on, or 0 past the end.
    std::uint32_t Peek(std::size_t ahead = 0) const
    {
        const std::size_t from = at_ + ahead * width_;
        if (from + width_ > bytes_.size())
            return 0;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width_; ++i) {
            const std::size_t byte = bigEndian_ ? from + i : from + width_ - 1 - i;
            value = value << 8 | bytes_[byte];
        }
        return value;
    }

    void Skip(std::size_t units) { at_ += units * width_; }

    // Whether the text here starts with `ascii`, letters compared without case when asked.
    bool StartsWith(std::string_view ascii, bool anyCase = false) const
    {
        for (std::size_t i = 0; i < ascii.size(); ++i) {
            const std::uint32_t unit = Peek(i);
            const char want = ascii[i];
            if (unit > 0x7F)
                return false;
            const char got = static_cast<char>(unit);
            if (anyCase ? std::toupper(static_cast<unsigned char>(got)) != std::toupper(static_cast<unsigned char>(want))
                        : got != want)
                return false;
        }
        return true;
    }

    // Moves past the next `end`; false when the text runs out first.
    bool SkipPast(std::string_view end)
    {
        while (!AtEnd()) {
            if (StartsWith(end)) {
                Skip(end.size());
                return true;
            }
            Skip(1);
        }
        return false;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t width_;
    bool bigEndian_;
    std::size_t at_;
};

bool Begins(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> prefix)
{
    if (bytes.size() < prefix.size())
        return false;
    std::size_t i = 0;
    for (std::uint8_t b : prefix)
        if (bytes[i++] != b)
            return false;
    return true;
}

// Code unit width, byte order and byte-order-mark length, from the first bytes.
Units Detect(std::span<const std::uint8_t> bytes)
{
    if (Begins(bytes, {0xFF, 0xFE, 0x00, 0x00}))
        return Units(bytes, 4, false, 4);
    if (Begins(bytes, {0x00, 0x00, 0xFE, 0xFF}))
        return Units(bytes, 4, true, 4);
    if (Begins(bytes, {0x3C, 0x00, 0x00, 0x00}))
        return Units(bytes, 4, false, 0);
    if (Begins(bytes, {0x00, 0x00, 0x00, 0x3C}))
        return Units(bytes, 4, true, 0);
    if (Begins(bytes, {0xFF, 0xFE}))
        return Units(bytes, 2, false, 2);
    if (Begins(bytes, {0xFE, 0xFF}))
        return Units(bytes, 2, true, 2);
    if (Begins(bytes, {0x3C, 0x00}))
        return Units(bytes, 2, false, 0);
    if (Begins(bytes, {0x00, 0x3C}))
        return Units(bytes, 2, true, 0);
    if (Begins(bytes, {0xEF, 0xBB, 0xBF}))
        return Units(bytes, 1, false, 3);
    return Units(bytes, 1, false, 0);
}

bool IsBlank(std::uint32_t unit)
{
    return unit == 0x20 || unit == 0x09 || unit == 0x0D || unit == 0x0A;
}

}  // namespace

bool DeclaresDocumentType(std::span<const std::uint8_t> bytes)
{
    Units text = Detect(bytes);
    for (;;) {
        while (!text.AtEnd() && IsBlank(text.Peek()))
            text.Skip(1);
        if (text.StartsWith("<?")) {
            if (!text.SkipPast("?>"))
                return false;
        } else if (text.StartsWith("<!--")) {
            if (!text.SkipPast("-->"))
                return false;
        } else {
            // The parser would refuse a misspelt declaration; refusing it here as well is safer.
            return text.StartsWith("<!DOCTYPE", true);
        }
    }
}

}  // namespace qorxml
