// Message box arithmetic: button sets, line breaks, wrapping and the box's layout.
#include "MessageBoxLayout.h"

#include <algorithm>
#include <climits>

namespace skelda::msgbox {

bool ButtonSetForStyle(UINT style, std::vector<int>* ids)
{
    ids->clear();
    switch (style & 0x0F) {
    case MB_OK: *ids = {IDOK}; break;
    case MB_OKCANCEL: *ids = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: *ids = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: *ids = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: *ids = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: *ids = {IDRETRY, IDCANCEL}; break;
    default: return false;
    }
    return true;
}

namespace {

bool IsBreakLetter(char c)
{
    return c == 'n' || c == 'r';
}

// The length of a line break starting at `i` (0 when none): one real CR or LF, or a typed
// backslash-n or backslash-r, each followed optionally by its partner of the same form.
size_t BreakLength(const std::string& text, size_t i)
{
    const char c = text[i];
    if (c == '\r' || c == '\n') {
        const char partner = c == '\r' ? '\n' : '\r';
        return i + 1 < text.size() && text[i + 1] == partner ? 2 : 1;
    }
    if (c == '\\' && i + 1 < text.size() && IsBreakLetter(text[i + 1])) {
        const char partner = text[i + 1] == 'n' ? 'r' : 'n';
        return i + 3 < text.size() && text[i + 2] == '\\' && text[i + 3] == partner ? 4 : 2;
    }
    return 0;
}

size_t CharLength(const std::string& text, size_t i)
{
    return IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// The longest start of `word` (whole characters, at least one) no wider than `maxWidth`.
size_t FittingPrefix(const std::string& word, int maxWidth, const TextWidth& width)
{
    size_t fits = CharLength(word, 0);
    for (size_t end = fits; end < word.size();) {
        end += CharLength(word, end);
        if (width(word.substr(0, end)) > maxWidth)
            break;
        fits = end;
    }
    return fits;
}

void WrapOne(const std::string& line, int maxWidth, const TextWidth& width, std::vector<std::string>* out)
{
    if (width(line) <= maxWidth) {
        out->push_back(line);
        return;
    }
    // Words between single blanks; runs of blanks give empty words and so survive joining.
    std::vector<std::string> words;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i)
        if (i == line.size() || line[i] == ' ') {
            words.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    std::string current;
    bool started = false;
    for (std::string word : words) {
        const std::string joined = started ? current + " " + word : word;
        if (width(joined) <= maxWidth) {
            current = joined;
            started = true;
            continue;
        }
        if (started)
            out->push_back(current);
        while (!word.empty() && width(word) > maxWidth) {
            const size_t cut = FittingPrefix(word, maxWidth, width);
            out->push_back(word.substr(0, cut));
            word.erase(0, cut);
        }
        current = word;
        started = !word.empty();
    }
    if (started)
        out->push_back(current);
}

int Limit(int value)
{
    return value > 0 ? value : INT_MAX;
}

}  // namespace

std::vector<std::string> SplitMessageLines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size();) {
        if (const size_t length = BreakLength(text, i)) {
            lines.emplace_back();
            i += length;
            continue;
        }
        const size_t length = CharLength(text, i);
        lines.back().append(text, i, length);
        i += length;
    }
    return lines;
}

std::vector<std::string> WrapLines(const std::vector<std::string>& lines, int maxWidth, const TextWidth& width)
{
    std::vector<std::string> out;
    for (const auto& line : lines)
        WrapOne(line, std::max(maxWidth, 1), width, &out);
    return out;
}

int MaxTextWidth(const SkinMetrics& skin, int workAreaWidth)
{
    const int widest = std::min(Limit(skin.maxWidth), Limit(workAreaWidth));
    return std::max(1, widest - skin.left - skin.right - 2 * kMargin);
}

LayoutResult LayOutMessageBox(const LayoutInput& in)
{
    const SkinMetrics& s = in.skin;
    const int textWidth = in.text.cx, textHeight = in.text.cy;
    const int captionX = s.caption.x, captionY = s.caption.y;
    const int captionWidth = in.caption.cx, captionHeight = in.caption.cy;
    const int buttonWidth = in.button.cx, buttonHeight = in.button.cy;
    LayoutResult r;
    const int count = std::max(in.buttonCount, 0);
    r.rowWidth = count ? (buttonWidth + kMargin) * count + kMargin : 0;
    const int rowHeight = count ? buttonHeight + kMargin : 0;
    const bool hasCaption = captionWidth > 0 && captionHeight > 0;
    const bool hasText = textWidth > 0 && textHeight > 0;

    const int captionBottom = hasCaption ? captionY + captionHeight : 0;
    const int textTop = std::max(s.top, captionBottom) + kMargin;
    const int textBlock = hasText ? textHeight + (count ? kRowGap : kMargin) : 0;

    const int contentWidth = std::max({hasText ? textWidth + 2 * kMargin : 0, r.rowWidth,
                                       hasCaption ? captionX - s.left + captionWidth + kMargin : 0});
    r.width = std::max(s.left + contentWidth + s.right, s.minWidth);
    r.width = std::min(r.width, std::min(Limit(s.maxWidth), Limit(in.workArea.cx)));
    r.height = std::max(textTop + textBlock + rowHeight + s.bottom, s.minHeight);
    r.height = std::min(r.height, std::min(Limit(s.maxHeight), Limit(in.workArea.cy)));

    const int inner = r.width - s.left - s.right;
    const int rowTop = r.height - s.bottom - rowHeight;
    r.text = {s.left + kMargin, textTop, r.width - s.right - kMargin, textTop};
    if (hasText)
        r.text.bottom = std::max(textTop, std::min(textTop + textHeight, rowTop - (count ? kRowGap : 0)));
    if (hasCaption)
        r.caption = {captionX, captionY, std::min(captionX + captionWidth, r.width - s.right),
                     captionY + captionHeight};
    const int rowLeft = s.left + kMargin + std::max(0, (inner - r.rowWidth) / 2);
    for (int i = 0; i < count; ++i)
        r.buttons.push_back({rowLeft + i * (buttonWidth + kMargin), rowTop});
    return r;
}

POINT PlaceMessageBox(SIZE size, const RECT& owner, const RECT& workArea)
{
    const RECT& around = IsRectEmpty(&owner) ? workArea : owner;
    POINT at{around.left + (around.right - around.left - size.cx) / 2,
             around.top + (around.bottom - around.top - size.cy) / 2};
    at.x = std::max<LONG>(workArea.left, std::min<LONG>(at.x, workArea.right - size.cx));
    at.y = std::max<LONG>(workArea.top, std::min<LONG>(at.y, workArea.bottom - size.cy));
    return at;
}

}  // namespace skelda::msgbox
