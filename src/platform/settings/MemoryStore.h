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
    void SetSavesFail(bool fail) { savesFail_ = fail; }
    /// Number of successful and failed sets so far.
    int Writes() const { return writes_; }
    /// The values held.
    const ValueTable& Values() const { return values_; }

private:
    ValueTable values_;
    bool savesFail_ = false;
    int writes_ = 0;
};

} // namespace plat::settings
