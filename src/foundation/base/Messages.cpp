#include "foundation/base/Messages.h"

#include "platform/system/DebugOutput.h"
#include "platform/system/MessageBox.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace zentrix {

namespace {

// The shared buffer every message is formatted into; handlers receive it and copy what they keep.
// Formatting is bounded, so a long path in a message cuts the text instead of running past the end.
char g_message[kMessageCapacity];

void ShowBox(const char* caption, const char* text) {
    plat::system::ShowMessageBox(caption, text, plat::system::Buttons::Ok);
}

void DefaultWarning(const char* text) {
    DebugOutput((std::string("WARNING: ") + text + "\n").c_str());
}

void DefaultAlert(const char* text) {
    DebugOutput((std::string("ALERT: ") + text + "\n").c_str());
    ShowBox("ALERT", text);
}

void DefaultError(int, const char* text) {
    DebugOutput((std::string("ERROR: ") + text + "\n").c_str());
    ShowBox("ERROR", text);
    std::abort();
}

void DefaultTrace(const char* text) {
    DebugOutput(text);
}

MessageHandler g_warning = DefaultWarning;
MessageHandler g_alert = DefaultAlert;
ErrorHandler g_error = DefaultError;
MessageHandler g_trace = DefaultTrace;

void Format(const char* format, va_list args) {
    std::vsnprintf(g_message, sizeof g_message, format, args);
}

void FormatArgs(const char* format, ...) __attribute__((format(printf, 1, 2)));
void FormatArgs(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Format(format, args);
    va_end(args);
}

void SendError(int code) {
    g_error(code, g_message);
}

} // namespace

// A null handler puts the default back, so no message is ever sent to nothing.
MessageHandler SetWarningHandler(MessageHandler handler) {
    return g_warning = handler ? handler : DefaultWarning;
}
MessageHandler SetAlertHandler(MessageHandler handler) {
    return g_alert = handler ? handler : DefaultAlert;
}
ErrorHandler SetErrorHandler(ErrorHandler handler) {
    return g_error = handler ? handler : DefaultError;
}
MessageHandler SetTraceHandler(MessageHandler handler) {
    return g_trace = handler ? handler : DefaultTrace;
}

void ReportMessage(int code, const char* format, ...) {
    va_list args;
    va_start(args, format);
    Format(format, args);
    va_end(args);
    SendError(code);
}

void ReportError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Format(format, args);
    va_end(args);
    SendError(kReportedErrorCode);
}

void AssertionFailed(const char* file, int line) {
    FormatArgs("%s(%d) : ASSERTION FAILED\n", file, line);
    DebugOutput(g_message);
    FormatArgs("Assertion Failed: %48s(%d)\n", file, line);
    SendError(kAssertionCode);
}

void TraceAt(const char* text, const char* file, int line) {
    FormatArgs("%s(%d) : TRACE %s\n", file, line, text);
    g_trace(g_message);
}

void WarningMessage(const char*, ...) {}

void TraceMessage(const char*, ...) {}

void DebugOutput(const char* text) {
    plat::system::DebugOutput(text);
}

} // namespace zentrix
