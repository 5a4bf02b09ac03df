#include "ErrorLog.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace shell {
namespace {

constexpr size_t kMaxLogText = 1000;

ErrorSink& Sink()
{
    static ErrorSink sink;
    return sink;
}

std::string FormatWith(const std::string& format, va_list args, size_t limit)
{
    std::string text(limit + 1, '\0');
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(text.data(), text.size(), format.c_str(), copy);
    va_end(copy);
    if (length < 0)
        return format.substr(0, limit);
    text.resize(std::min(static_cast<size_t>(length), limit));
    return text;
}

}  // namespace

std::string FormatLogLine(const SYSTEMTIME& time, const char* tag, const char* text)
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d-%02d:%02d:%02d", time.wMonth, time.wDay,
                  time.wYear % 100, time.wHour, time.wMinute, time.wSecond);
    return std::string(stamp) + "(" + tag + ") " + text + "\n";
}

bool AppendLogLine(const std::string& logPath, const char* tag, const char* text)
{
    const DWORD attributes = GetFileAttributesA(logPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(logPath.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line = FormatLogLine(now, tag, text);
    FILE* file = std::fopen(logPath.c_str(), "ab");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    return std::fclose(file) == 0 && written;
}

SplitError SplitErrorText(const std::string& text)
{
    const std::string::size_type bar = text.find('|');
    if (bar == std::string::npos)
        return {text, {}};
    return {text.substr(0, bar), text.substr(bar + 1)};
}

FormattedError FormatErrorText(const std::string& text, va_list args)
{
    const SplitError parts = SplitErrorText(text);
    FormattedError result;
    if (!parts.userPart.empty())
        result.userText = FormatWith(parts.userPart, args, 4096);
    if (!parts.logPart.empty())
        result.logText = FormatWith(parts.logPart, args, kMaxLogText);
    return result;
}

void SetErrorSink(ErrorSink sink)
{
    Sink() = std::move(sink);
}

namespace {

void Report(bool show, UINT textId, va_list args)
{
    const ErrorSink& sink = Sink();
    if (!sink.text)
        return;
    const FormattedError error = FormatErrorText(sink.text(textId), args);
    if (show && !error.userText.empty() && sink.showMessage)
        sink.showMessage(error.userText);
    if (!error.logText.empty() && !sink.logPath.empty())
        AppendLogLine(sink.logPath, "ERR", error.logText.c_str());
}

}  // namespace

void ReportError(UINT textId, ...)
{
    va_list args;
    va_start(args, textId);
    Report(true, textId, args);
    va_end(args);
}

void LogError(UINT textId, ...)
{
    va_list args;
    va_start(args, textId);
    Report(false, textId, args);
    va_end(args);
}

void LogText(const std::string& text)
{
    const ErrorSink& sink = Sink();
    const std::string logged = text.empty() || text[0] != '|' ? text : text.substr(1);
    if (!logged.empty() && !sink.logPath.empty())
        AppendLogLine(sink.logPath, "ERR", logged.c_str());
}

}  // namespace shell
