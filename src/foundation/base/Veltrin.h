#pragma once

namespace zentrix {

/// The base library's start and stop. A static object of the program entry's unit calls VeltrinStartup
/// before the entry function runs and VeltrinShutdown after it returns.

/// Sets up the memory tracking table.
void VeltrinStartup();
/// Closes every registered file still open, sends the leak report and releases the tracking table.
void VeltrinShutdown();

} // namespace zentrix
