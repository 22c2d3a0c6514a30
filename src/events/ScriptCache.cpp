#include "events/ScriptCache.h"

namespace zentrix {

CScriptCache::CScriptCache(IScriptSource* source) : m_source(source) {}

CScriptCache::~CScriptCache() {
    Clear();
}

bool CScriptCache::Init() {
    m_initialised = CScriptParser::BuildKeywordTables(m_source ? m_source->GetDefinitionsText() : CDStr());
    return m_initialised;
}

const CScriptCache::SEntry* CScriptCache::Find(const TEntries& entries, int id) {
    for (const SEntry& entry : entries)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

const CScriptParser::TEventList* CScriptCache::EventsOf(const SEntry& entry) {
    return entry.parser ? &entry.parser->GetEvents() : nullptr;
}

const CScriptParser::TEventList* CScriptCache::GetScript(int assetId) {
    if (const SEntry* entry = Find(m_assetScripts, assetId))
        return EventsOf(*entry);
    if (m_source == nullptr)
        return nullptr;

    CDStr text;
    m_source->LoadAssetScript(assetId, text);
    if (text.empty()) {
        m_assetScripts.push_back({assetId, nullptr});
        return nullptr;
    }
    auto parser = std::make_unique<CScriptParser>();
    // Without the keyword tables nothing is remembered, so a later request tries again.
    if (!parser->IsReady())
        return nullptr;

    CDStr path;
    m_source->GetScriptPath(assetId, path);
    CDStr report = "Starting to parse script " + path + ", object ID " + ToDStr(assetId) + " ... \r\n \r\n";
    if (!parser->Parse(text)) {
        report += parser->GetError() + "\r\n \r\n... failed to parse script \r\n \r\n";
        m_source->Print(kScriptParsingLog, report);
        m_assetScripts.push_back({assetId, nullptr});
        return nullptr;
    }
    report += "... successfully parsed script \r\n ";
    m_source->Print(kScriptParsingLog, report);
    m_assetScripts.push_back({assetId, std::move(parser)});
    return EventsOf(m_assetScripts.back());
}

const CScriptParser::TEventList* CScriptCache::GetResourceScript(int scriptId) {
    if (const SEntry* entry = Find(m_resourceScripts, scriptId))
        return EventsOf(*entry);
    if (m_source == nullptr)
        return nullptr;

    CDStr text;
    m_source->LoadAssetText(scriptId, text);
    if (text.empty())
        return nullptr;
    auto parser = std::make_unique<CScriptParser>();
    if (!parser->IsReady())
        return nullptr;
    if (!parser->Parse(text)) {
        m_source->Print(kScriptParsingLog, parser->GetError() + " : From scriptFileID " + ToDStr(scriptId));
        m_resourceScripts.push_back({scriptId, nullptr});
        return nullptr;
    }
    m_resourceScripts.push_back({scriptId, std::move(parser)});
    return EventsOf(m_resourceScripts.back());
}

void CScriptCache::Clear() {
    for (TEntries* entries : {&m_assetScripts, &m_resourceScripts})
        for (SEntry& entry : *entries)
            if (entry.parser) {
                entry.parser->FreeEvents();
                entry.parser.reset();
            }
    CScriptParser::FreeKeywordTables();
    m_initialised = false;
}

} // namespace zentrix
