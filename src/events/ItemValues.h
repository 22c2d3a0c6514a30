#pragma once

#include "events/ScriptParser.h"
#include "foundation/math/Vector.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// One checked value of a script item: the slot it was written under and the value in the type the
/// keyword gives that slot.
struct CItemValue {
    std::int32_t slot = -1;
    std::int32_t type = -1;
    std::int32_t number = 0;
    float scalar = 0.0f;
    CVector vector;
    std::vector<std::int32_t> list;
};

/// The values of a script item as the triggers and effects read them, in text order (so a slot written
/// twice comes twice and the later wins). Scripts are untrusted: each value is checked against its
/// keyword's type and range, vectors must be finite and within kVectorLimit, lists hold at most
/// kListLimit asset ids of 0..65535. A value that fails is reported to the script log and left out, so
/// the field it was meant for keeps its value.
class CItemValues {
public:
    static constexpr float kVectorLimit = 1.0e6f;
    static constexpr std::size_t kListLimit = 64;

    explicit CItemValues(const CScriptParser::CItemDesc& item);

    const std::vector<CItemValue>& Get() const { return m_values; }
    std::vector<CItemValue>::const_iterator begin() const { return m_values.begin(); }
    std::vector<CItemValue>::const_iterator end() const { return m_values.end(); }
    /// The keyword's name, for messages ("kind 99" for an unknown kind).
    const std::string& GetName() const { return m_name; }

    /// Hands a message about a script item to the script log ("ScriptParsing.log"), when the world has a
    /// log to write to.
    static void Report(std::string_view text);

private:
    std::string m_name;
    std::vector<CItemValue> m_values;
};

} // namespace zentrix
