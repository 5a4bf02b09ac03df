#pragma once
// The program's log file "<program folder>Marovin.log" and error reports: an error text may
// hold a part for the user and, after "|", a part for the log (tag "ERR").
#include <windows.h>

#include <cstdarg>
#include <functional>
#include <string>

namespace shell {

// "MM/DD/YY-hh:mm:ss(TAG) text\n".
std::string FormatLogLine(const SYSTEMTIME& time, const char* tag, const char* text);
// Appends one line stamped with the local time; clears a read-only attribute first.
bool AppendLogLine(const std::string& logPath, const char* tag, const char* text);

struct SplitError {
    std::string userPart;
    std::string logPart;
};
// Splits at the first "|"; a text without one is all user part.
SplitError SplitErrorText(const std::string& text);

// Formats both parts of an error text with the same arguments; the log part is cut to
// 1000 characters.
struct FormattedError {
    std::string userText;
    std::string logText;
};
FormattedError FormatErrorText(const std::string& text, va_list args);

// Where error reports go: the text by number, the message box, and the log file.
struct ErrorSink {
    std::function<std::string(UINT)> text;
    std::function<void(const std::string&)> showMessage;
    std::string logPath;
};
void SetErrorSink(ErrorSink sink);
// Shows the user part (if any) and logs the log part (if any) of text `textId`.
void ReportError(UINT textId, ...);
// Only the log part of text `textId`.
void LogError(UINT textId, ...);
// A line of the program's own for the log (a leading "|" is dropped).
void LogText(const std::string& text);

}  // namespace shell
