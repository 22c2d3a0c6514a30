#pragma once

#include "platform/settings/Store.h"
#include "platform/settings/ValueTable.h"

namespace plat::settings {

/// Settings held in memory only, for tests; can be told to fail its saves.
class MemoryStore final : public Store {
public:
    bool Get(std::string_view name, std::string& out) const override;
    bool Set(std::string_view name, std::string_view value) override;

    /// Makes every later save fail (the value is still kept), as a full disk would.
    void SetSavesFail(bool fail) { m_savesFail = fail; }
    /// Number of successful and failed sets so far.
    int Writes() const { return m_writes; }
    /// The values held.
    const ValueTable& Values() const { return m_values; }

private:
    ValueTable m_values;
    bool m_savesFail = false;
    int m_writes = 0;
};

} // namespace plat::settings
