#pragma once

#include <string_view>

/// Where the resource code sends the problems it steps over (a corrupt index record, a record beyond the
/// end of a table): the debugger output.
namespace ResourceDebug {

/// Sends text to the debugger output.
void Output(std::string_view text);

} // namespace ResourceDebug
