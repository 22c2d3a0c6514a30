#pragma once

#include <string>
#include <string_view>

namespace plat::settings {

/// The game's remembered values: text by name, names compared without letter case.
class Store {
public:
    virtual ~Store() = default;
    /// Reads the value of `name` into `out`; false (and `out` unchanged) when there is none.
    virtual bool Get(std::string_view name, std::string& out) const = 0;
    /// Stores `value` (up to its first NUL) under `name` and saves it at once; false when the save
    /// failed, in which case the value is still kept in memory for this run.
    virtual bool Set(std::string_view name, std::string_view value) = 0;
};

} // namespace plat::settings
