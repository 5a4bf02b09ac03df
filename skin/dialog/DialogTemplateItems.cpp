// Reading and copying extended dialog templates: a header, then items that each start on a
// four-byte boundary, strings as UTF-16 or a resource ordinal.
#include "DialogTemplateItems.h"

#include <cstring>
#include <cwchar>

namespace skelda {
namespace {

constexpr size_t kItemCountOffset = 16;

class Reader {
public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    size_t Position() const { return at_; }
    bool Word(WORD* value) { return Take(value, sizeof(WORD)); }
    bool Dword(DWORD* value) { return Take(value, sizeof(DWORD)); }
    bool Short(short* value) { return Take(value, sizeof(short)); }
    bool Skip(size_t bytes)
    {
        if (bytes > size_ - at_)
            return false;
        at_ += bytes;
        return true;
    }
    bool AlignDword() { return Skip((4 - at_ % 4) % 4); }
    // A string or an ordinal; the predefined classes' ordinals are named when `classNames`.
    bool NameOrOrdinal(std::wstring* text, bool classNames)
    {
        WORD first = 0;
        if (!Word(&first))
            return false;
        if (first == 0xFFFF) {
            WORD ordinal = 0;
            if (!Word(&ordinal))
                return false;
            if (text)
                *text = classNames ? ClassName(ordinal) : L"#" + std::to_wstring(ordinal);
            return true;
        }
        std::wstring value;
        for (WORD unit = first; unit != 0;) {
            value.push_back(static_cast<wchar_t>(unit));
            if (!Word(&unit))
                return false;
        }
        if (text)
            *text = value;
        return true;
    }

private:
    static std::wstring ClassName(WORD ordinal)
    {
        static const wchar_t* const kNames[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
        return ordinal >= 0x80 && ordinal <= 0x85 ? kNames[ordinal - 0x80] : L"#" + std::to_wstring(ordinal);
    }
    bool Take(void* value, size_t bytes)
    {
        if (bytes > size_ - at_)
            return false;
        std::memcpy(value, data_ + at_, bytes);
        at_ += bytes;
        return true;
    }

    const BYTE* data_;
    size_t size_;
    size_t at_ = 0;
};

bool ReadItem(Reader& reader, const BYTE* data, DialogTemplateItem* item)
{
    if (!reader.Dword(&item->helpId) || !reader.Dword(&item->exStyle) || !reader.Dword(&item->style) ||
        !reader.Short(&item->x) || !reader.Short(&item->y) || !reader.Short(&item->cx) || !reader.Short(&item->cy) ||
        !reader.Dword(&item->id) || !reader.NameOrOrdinal(&item->className, true) ||
        !reader.NameOrOrdinal(&item->text, false))
        return false;
    const size_t extraAt = reader.Position();
    WORD extra = 0;
    if (!reader.Word(&extra) || !reader.Skip(extra))
        return false;
    item->creationData.clear();
    if (extra)
        item->creationData.assign(data + extraAt, data + reader.Position());
    return true;
}

}  // namespace

bool SplitDialogTemplate(const void* data, size_t size, const std::function<bool(const DialogTemplateItem&)>& takeOut,
                         std::vector<BYTE>* kept, std::vector<DialogTemplateItem>* takenOut)
{
    kept->clear();
    takenOut->clear();
    if (!data)
        return false;
    const BYTE* bytes = static_cast<const BYTE*>(data);
    Reader reader(bytes, size);
    WORD version = 0, signature = 0, count = 0;
    DWORD helpId = 0, exStyle = 0, style = 0;
    if (!reader.Word(&version) || !reader.Word(&signature) || version != 1 || signature != 0xFFFF ||
        !reader.Dword(&helpId) || !reader.Dword(&exStyle) || !reader.Dword(&style) || !reader.Word(&count) ||
        !reader.Skip(4 * sizeof(short)) || !reader.NameOrOrdinal(nullptr, false) ||
        !reader.NameOrOrdinal(nullptr, false) || !reader.NameOrOrdinal(nullptr, false))
        return false;
    if ((style & DS_SETFONT) && (!reader.Skip(2 * sizeof(WORD) + 2) || !reader.NameOrOrdinal(nullptr, false)))
        return false;
    std::vector<BYTE> copy(bytes, bytes + reader.Position());
    std::vector<DialogTemplateItem> out;
    WORD keptCount = 0;
    for (WORD i = 0; i < count; ++i) {
        if (!reader.AlignDword())
            return false;
        const size_t begin = reader.Position();
        DialogTemplateItem item;
        item.index = i;
        if (!ReadItem(reader, bytes, &item))
            return false;
        if (takeOut && takeOut(item)) {
            out.push_back(std::move(item));
            continue;
        }
        copy.resize((copy.size() + 3) / 4 * 4, 0);
        copy.insert(copy.end(), bytes + begin, bytes + reader.Position());
        ++keptCount;
    }
    std::memcpy(copy.data() + kItemCountOffset, &keptCount, sizeof(keptCount));
    *kept = std::move(copy);
    *takenOut = std::move(out);
    return true;
}

}  // namespace skelda
