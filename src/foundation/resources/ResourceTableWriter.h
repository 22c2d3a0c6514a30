#pragma once

#include "foundation/resources/ResourceTableFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zentrix {

/// A resource table that can be built and written: the tools make new tables with it, and the game
/// writes its loaded table back (with a changed directory) through it.
class CResourceTableWriter : public CResourceTableFile {
public:
    /// Starts an empty table with the four directory paths (each under 260 characters); false otherwise.
    bool Create(const std::array<std::string, kDirectoryCount>& directories);
    /// Appends a record; false for an id outside 1-65535, a name holding a NUL, or no table. A later record
    /// of the same id takes its place in the index, as on reading.
    bool AddRecord(std::uint32_t id, std::string_view name, std::uint32_t checkedOutTo = kNobody);
    /// Writes header and body to path (game form) by atomic replace, so a failure leaves the old file as it
    /// was. Keeps userId; the reason of a failure goes to errorText when given.
    bool Write(const std::string& path, std::uint32_t userId, std::string* errorText);
    /// The user id given to the last Write.
    std::uint32_t GetUserId() const { return m_userId; }

private:
    std::uint32_t m_userId = 0;
};

} // namespace zentrix
