#include "EventWorld.h"

#include "events/ScriptCache.h"
#include "events/WorldEventController.h"

namespace eventstest {

void EventWorld::SetUp() {
    WorldFixture::SetUp();
    CScriptParser::BuildKeywordTables("");
    scripts = std::make_unique<CAssetScriptCache>(*assets, nullptr);
    scripts->Init();
    CreateWorlds();
    SWorldLinks links = Links();
    links.makeEventController = [this](CWorldObject&) -> std::unique_ptr<IEventControllerLink> {
        return std::make_unique<CWorldEventController>(&scripts->GetCache());
    };
    CWorldMan::SetLinks(links);
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kMainScreen));
    log.clear();
}

void EventWorld::TearDown() {
    WorldFixture::TearDown();
    scripts.reset();
    m_parsers.clear();
}

const CScriptParser::CItemDesc& EventWorld::Item(const std::string& text) {
    const std::string name = text.substr(0, text.find('<'));
    const CScriptParser::CKeyword* keyword = CScriptParser::FindKeyword(name);
    const bool trigger = keyword && keyword->kind < CScriptParser::kFirstNonTriggerKind;
    const std::string script = trigger
                                   ? "[event_begin]" + text + "[then]ParticlesEffects<FileID=1>[event_end]"
                                   : "[event_begin]AlwaysTrigger<>[then]" + text + "[event_end]";
    CScriptParser& parser = m_parsers.emplace_back();
    EXPECT_TRUE(parser.Parse(script)) << parser.GetError();
    static const CScriptParser::CItemDesc kNone;
    if (parser.GetEvents().empty())
        return kNone;
    const CScriptParser::CEventDesc& event = parser.GetEvents()[0];
    return trigger ? event.triggers.at(0) : event.effects.at(0);
}

const CScriptParser::CEventDesc& EventWorld::Script(const std::string& text) {
    CScriptParser& parser = m_parsers.emplace_back();
    EXPECT_TRUE(parser.Parse(text)) << parser.GetError();
    static const CScriptParser::CEventDesc kNone;
    return parser.GetEvents().empty() ? kNone : parser.GetEvents()[0];
}

CWorldObject* EventWorld::Make(int assetId, CVector at, CVector facing) {
    CWorldObject* object = CWorldMan::CreateWorldObject(assetId, at.x, at.y, at.z, -1);
    EXPECT_NE(object, nullptr) << assetId;
    if (object) {
        object->SetPositionVector(at);
        object->SetDirectionVector(facing);
    }
    return object;
}

CActiveWorldObject* EventWorld::MakeActive(int assetId, CVector at, CVector facing) {
    auto* object = dynamic_cast<CActiveWorldObject*>(Make(assetId, at, facing));
    EXPECT_NE(object, nullptr) << assetId;
    // An active body's heading comes from its points: they are turned with it.
    if (object)
        object->Reorient(facing, kUpVector);
    return object;
}

std::vector<std::string> EventWorld::ScriptReports() const {
    const std::string prefix = "log " + std::to_string(CScriptCache::kScriptParsingLog) + " ";
    std::vector<std::string> out;
    for (const std::string& entry : log)
        if (entry.rfind(prefix, 0) == 0)
            out.push_back(entry.substr(prefix.size()));
    return out;
}

} // namespace eventstest
