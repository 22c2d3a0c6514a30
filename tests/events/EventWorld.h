#pragma once

// A world of the sample set whose objects run their events through the real controllers and the sample
// scripts, for tests of triggers and effects.

#include "world/WorldDoubles.h"

#include "events/AssetScriptCache.h"
#include "events/ScriptParser.h"
#include "world/ActiveWorldObject.h"

#include <list>
#include <memory>
#include <string>

namespace eventstest {

class EventWorld : public worldtest::WorldFixture {
protected:
    /// Sample assets used by the event tests.
    static constexpr int kCrate = 30030; ///< active, a box 4 long (along its heading), 2 high, 3 wide
    static constexpr int kBall = 30031;  ///< active, a sphere of 1
    static constexpr int kPlain = 31000; ///< a plain object with a sphere of 1.5 and a box

    /// The main screen's world is current; objects get real event controllers.
    void SetUp() override;
    void TearDown() override;

    /// The parsed item of one trigger or effect text, e.g. "ToggleTimerTrigger<OnTime=100>"; it lives
    /// until the test ends.
    const CScriptParser::CItemDesc& Item(const std::string& text);
    /// The first event of a script text; it lives until the test ends.
    const CScriptParser::CEventDesc& Script(const std::string& text);
    /// A new object of the asset at `at`, looking along `facing`.
    CWorldObject* Make(int assetId, CVector at, CVector facing = CVector(0.0f, 0.0f, 1.0f));
    CActiveWorldObject* MakeActive(int assetId, CVector at, CVector facing = CVector(0.0f, 0.0f, 1.0f));
    /// The log entries of the script log channel, without the prefix.
    std::vector<std::string> ScriptReports() const;

    std::unique_ptr<CAssetScriptCache> scripts;

private:
    std::list<CScriptParser> m_parsers;
};

} // namespace eventstest
