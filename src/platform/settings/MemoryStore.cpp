#include "platform/settings/MemoryStore.h"

namespace plat::settings {

bool MemoryStore::Get(std::string_view name, std::string& out) const {
    const std::string* value = m_values.Find(name);
    if (!value)
        return false;
    out = *value;
    return true;
}

bool MemoryStore::Set(std::string_view name, std::string_view value) {
    if (name.empty() || name.front() == '\0')
        return false;
    ++m_writes;
    m_values.Put(name, value);
    return !m_savesFail;
}

} // namespace plat::settings
