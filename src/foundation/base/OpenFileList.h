#pragma once

#include "foundation/base/NamedFile.h"

namespace zentrix {

/// The library's process-wide list of open files, newest first; VeltrinShutdown closes what is left.

/// Opens a file and registers it; the list owns it. Null (and nothing registered) when it cannot open.
CNamedFile* OpenRegisteredFile(const char* name, const char* mode);
/// Closes and destroys a registered file; a file not in the list is reported and left as it is.
void CloseRegisteredFile(CNamedFile* file);
/// Closes and destroys every registered file.
void CloseAllFiles();

} // namespace zentrix
