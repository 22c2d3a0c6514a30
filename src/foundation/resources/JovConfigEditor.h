#pragma once

#include "foundation/resources/JovConfig.h"
#include "foundation/resources/ResourceTableWriter.h"

namespace zentrix {

/// The resource-configuration library with the edits the game makes: it stores the local directory (or
/// a table directory), writes the table back, and keeps this computer in the user list.
class CJovConfigEditor : public CJovConfig {
public:
    using CJovConfig::CJovConfig;

    /// Loads the table in a form that can be written back.
    bool Load() override;
    /// Stores path (with a trailing "\") as directory n (0-4), then saves the table and releases it.
    /// False when an argument is refused, or storing or saving failed (each reported).
    bool SetDirectoryPath(int n, const char* path);
    /// Writes the table back to the data file (atomically) under this computer's user id.
    bool Save();
    /// This computer's position in the user list, added (and the list saved) when missing; -1 without a
    /// data file.
    int GetLocalUserID();
};

} // namespace zentrix
