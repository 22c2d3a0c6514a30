#pragma once

#include "app/AppParts.h"

namespace zentrix {

/// The whole game's parts: the shell's own, with the managers of the game's subsystems (which sit above
/// the shell and so cannot be made by it) put in where they exist. The program runs on these; the
/// shell's own default parts keep their stand-ins for tests of the shell alone.
class CGameParts : public CAppParts {
public:
    using CAppParts::CAppParts;

    /// The asset manager with the event-script cache behind its script link.
    std::unique_ptr<CAssetMan> CreateAssetMan(CAssetMan::SLinks links) override;
    /// Frees the event-script keyword tables; safe to call again.
    void FreeKeywordTables() override;
};

} // namespace zentrix
