#pragma once

#include "events/AssetListDataParam.h"
#include "events/IntDataParam.h"
#include "events/ScalarDataParam.h"
#include "events/ScriptParser.h"
#include "events/ScriptSource.h"
#include "events/VectorDataParam.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace zentrix;

namespace eventstest {

using zentrix::CScriptParser;

/// A value as "i5", "f1.5", "v(1,0,1)" or "l[1,0]".
inline std::string Describe(const zentrix::CDataParam* value) {
    std::ostringstream out;
    if (auto* i = dynamic_cast<const zentrix::CIntDataParam*>(value))
        out << "i" << i->GetValue();
    else if (auto* f = dynamic_cast<const zentrix::CScalarDataParam*>(value))
        out << "f" << f->GetValue();
    else if (auto* v = dynamic_cast<const zentrix::CVectorDataParam*>(value))
        out << "v(" << v->GetValue().x << "," << v->GetValue().y << "," << v->GetValue().z << ")";
    else if (auto* l = dynamic_cast<const zentrix::CAssetListDataParam*>(value)) {
        out << "l[";
        const std::vector<std::int32_t> ids = l->GetValue();
        for (std::size_t n = 0; n < ids.size(); ++n)
            out << (n ? "," : "") << ids[n];
        out << "]";
    } else
        out << "?";
    return out.str();
}

/// An item as "19{0:i1 1:i1200}": kind, then slot:value in text order.
inline std::string Describe(const CScriptParser::CItemDesc& item) {
    std::string text = std::to_string(item.kind) + "{";
    for (std::size_t n = 0; n < item.values.size(); ++n)
        text += (n ? " " : "") + std::to_string(item.values[n].first) + ":" +
                Describe(item.values[n].second.get());
    return text + "}";
}

/// Events as "0{} then 23{0:i2} | ...": triggers and effects joined by "&".
inline std::string Describe(const CScriptParser::TEventList& events) {
    std::string text;
    for (const CScriptParser::CEventDesc& event : events) {
        text += text.empty() ? "" : " | ";
        for (std::size_t n = 0; n < event.triggers.size(); ++n)
            text += (n ? " & " : "") + Describe(event.triggers[n]);
        text += " then ";
        for (std::size_t n = 0; n < event.effects.size(); ++n)
            text += (n ? " & " : "") + Describe(event.effects[n]);
    }
    return text;
}

/// The parse of a text described, or "error: <message>".
inline std::string ParseText(const std::string& text) {
    CScriptParser parser;
    return parser.Parse(text) ? Describe(parser.GetEvents()) : "error: " + parser.GetError();
}

/// Script texts by id, as the asset manager would answer them, counting every request; parse reports
/// are kept.
struct CountingSource : zentrix::IScriptSource {
    std::map<int, std::string> assetScripts; ///< a missing id has no script (false, empty text)
    std::map<int, std::string> resourceTexts;
    std::string definitions;
    int assetLoads = 0, textLoads = 0;
    std::vector<std::string> reports; ///< "<channel>|<text>"

    bool LoadAssetScript(int id, CDStr& out) override { return ++assetLoads, Find(assetScripts, id, out); }
    bool LoadAssetText(int id, CDStr& out) override { return ++textLoads, Find(resourceTexts, id, out); }
    bool GetScriptPath(int id, CDStr& out) override {
        out = "Objects\\" + std::to_string(id) + ".msc";
        return true;
    }
    CDStr GetDefinitionsText() override { return definitions; }
    void Print(int channel, const CDStr& text) override {
        reports.push_back(std::to_string(channel) + "|" + text);
    }

private:
    static bool Find(const std::map<int, std::string>& texts, int id, CDStr& out) {
        const auto it = texts.find(id);
        if (it == texts.end())
            return false;
        out = it->second;
        return true;
    }
};

} // namespace eventstest
