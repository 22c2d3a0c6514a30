// Parses arbitrary script text, after optional arbitrary substitutions: no crash, no hang; a failure
// always has a message, and a success only holds items of the side they stand on, with every ranged
// value within its range and every vector finite. The parsed events are then built and run for a few
// frames on an object outside any world, so every trigger and effect reads the values.
#include "events/Event.h"
#include "events/IntDataParam.h"
#include "events/ScalarDataParam.h"
#include "events/ScriptParser.h"
#include "events/VectorDataParam.h"
#include "world/WorldObject.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace zentrix;

namespace {

using zentrix::CScriptParser;

// An item stands on its own side, names a keyword, and holds only values the parser let through.
void CheckItem(const CScriptParser::CItemDesc& item, bool trigger) {
    if ((item.kind < CScriptParser::kFirstNonTriggerKind) != trigger)
        std::abort();
    const CScriptParser::CKeyword* keyword = nullptr;
    for (const CScriptParser::CKeyword& candidate : CScriptParser::GetKeywords())
        if (candidate.kind == item.kind)
            keyword = &candidate;
    if (keyword == nullptr)
        std::abort();
    for (const auto& [slot, value] : item.values) {
        if (!value)
            std::abort();
        if (auto* vector = dynamic_cast<const zentrix::CVectorDataParam*>(value.get()))
            if (!std::isfinite(vector->GetValue().x) || !std::isfinite(vector->GetValue().y) ||
                !std::isfinite(vector->GetValue().z))
                std::abort();
    }
    // The first value of each ranged slot lies within the range (checked on a copy: a check pulls a
    // value that is out of range into it).
    for (const CScriptParser::CParamDesc& param : keyword->params) {
        for (const auto& [slot, value] : item.values) {
            if (slot != param.slot || param.range == nullptr)
                continue;
            bool inside = true;
            if (auto* i = dynamic_cast<const zentrix::CIntDataParam*>(value.get())) {
                zentrix::CIntDataParam copy(i->GetValue());
                inside = param.range->Check(copy);
            } else if (auto* f = dynamic_cast<const zentrix::CScalarDataParam*>(value.get())) {
                zentrix::CScalarDataParam copy(f->GetValue());
                inside = param.range->Check(copy);
            }
            if (!inside)
                std::abort();
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8192)
        return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    // Input starting with "#": the first line is a definitions text.
    std::string definitions;
    if (!text.empty() && text.front() == '#') {
        const std::size_t line = text.find('\n');
        definitions = text.substr(0, line);
        text = line == std::string::npos ? std::string() : text.substr(line + 1);
    }
    CScriptParser::BuildKeywordTables(definitions);
    CScriptParser parser;
    if (!parser.Parse(text)) {
        if (parser.GetError().empty())
            std::abort();
        return 0;
    }
    for (const CScriptParser::CEventDesc& event : parser.GetEvents()) {
        for (const CScriptParser::CItemDesc& item : event.triggers)
            CheckItem(item, true);
        for (const CScriptParser::CItemDesc& item : event.effects)
            CheckItem(item, false);
    }
    CWorldObject owner(31000, 0);
    for (const CScriptParser::CEventDesc& description : parser.GetEvents()) {
        CEvent event(CEventItemFactory::Game());
        event.Init(description, &owner, 100, 1);
        for (unsigned ms : {0u, 40u, 0xFFFFFFFFu, 40u})
            event.Update(ms);
    }
    parser.FreeEvents();
    return 0;
}
