#pragma once

namespace zentrix {

/// The one place where the program's warnings, alerts, errors and traces go: four replaceable handlers,
/// read at the moment a message is sent, so the program decides whether a message reaches the debugger
/// output, a message box or nobody.

/// A handler of warnings, alerts or traces.
using MessageHandler = void (*)(const char* text);
/// A handler of errors: the message code (512 assertion, 513 reported error, or the caller's) and text.
using ErrorHandler = void (*)(int code, const char* text);

/// Message code of a failed assertion.
constexpr int kAssertionCode = 512;
/// Message code of an error reported with ReportError.
constexpr int kReportedErrorCode = 513;
/// Capacity of the message buffer, NUL included; longer messages are cut.
constexpr int kMessageCapacity = 4096;

/// Replaces the warning handler (null restores the default); returns the handler now in place.
MessageHandler SetWarningHandler(MessageHandler handler);
/// Replaces the alert handler (null restores the default); returns the handler now in place.
MessageHandler SetAlertHandler(MessageHandler handler);
/// Replaces the error handler (null restores the default); returns the handler now in place.
ErrorHandler SetErrorHandler(ErrorHandler handler);
/// Replaces the trace handler (null restores the default); returns the handler now in place.
MessageHandler SetTraceHandler(MessageHandler handler);

/// Formats into the message buffer and hands it to the error handler with the given code.
void ReportMessage(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));
/// Formats into the message buffer and hands it to the error handler with code 513.
void ReportError(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// Reports a failed assertion: a line to the debugger output, then code 512 to the error handler.
void AssertionFailed(const char* file, int line);
/// Hands "file(line) : TRACE text" to the trace handler.
void TraceAt(const char* text, const char* file, int line);
/// The library's warning operation; its texts reach nobody.
void WarningMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
/// The library's trace operation; its texts reach nobody.
void TraceMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Sends a text to the debugger output (standard error while ZENTRIX_DEBUG is set, one write a message).
void DebugOutput(const char* text);

} // namespace zentrix
