#pragma once

#include "events/ScriptParser.h"
#include "events/ScriptSource.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

/// Parses every event script at most once per run and keeps the result: the scripts of world-object
/// assets by asset id, and script resources by their id, each in a list of its own. A script that is
/// absent or fails to parse is remembered as null (an empty resource script is asked for again). The
/// cache owns every parser in it and through them every parsed event and value, which run-time events
/// point into until Clear.
class CScriptCache {
public:
    /// The log channel of the parse reports ("ScriptParsing.log").
    static constexpr int kScriptParsingLog = 17;

    /// Texts come from `source`; null stands for a missing asset manager: nothing is ever found.
    explicit CScriptCache(IScriptSource* source);
    virtual ~CScriptCache();
    CScriptCache(const CScriptCache&) = delete;
    CScriptCache& operator=(const CScriptCache&) = delete;

    /// Builds the keyword tables with the source's definitions; true when they read completely.
    bool Init();
    /// The parsed events of an asset's script, or null.
    const CScriptParser::TEventList* GetScript(int assetId);
    /// The parsed events of a script resource, or null.
    const CScriptParser::TEventList* GetResourceScript(int scriptId);
    /// Frees every parser (their ids stay known and answer null from now on) and the keyword tables.
    void Clear();
    /// Whether Init built the tables since the last Clear.
    bool IsInitialised() const { return m_initialised; }

private:
    struct SEntry {
        std::int32_t id;
        std::unique_ptr<CScriptParser> parser; ///< null: absent or failed
    };
    using TEntries = std::vector<SEntry>;

    static const SEntry* Find(const TEntries& entries, int id);
    static const CScriptParser::TEventList* EventsOf(const SEntry& entry);

    IScriptSource* m_source;
    TEntries m_assetScripts;
    TEntries m_resourceScripts;
    bool m_initialised = false;
};

} // namespace zentrix
