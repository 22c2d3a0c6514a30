#include "platform/settings/ValueTable.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any settings file reads without harm, and what was read survives being written and read again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    plat::settings::ValueTable table = plat::settings::ValueTable::Parse(text);
    int bad = 0;
    plat::settings::ValueTable again = plat::settings::ValueTable::Parse(table.Format(), &bad);
    if (bad != 0 || again.Entries() != table.Entries())
        std::abort();
    return 0;
}
