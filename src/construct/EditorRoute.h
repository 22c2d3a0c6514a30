#pragma once

#include "construct/ConstructRoute.h"

namespace zentrix {

class CRouteNodeMan;

/// The route manager's route as the editor uses it: built as the editor builds it, its break read and
/// forgotten.
class CEditorRoute : public IConstructRoute {
public:
    /// The route manager to use (null: the route is never built and has no break).
    void SetManager(CRouteNodeMan* manager) { m_manager = manager; }

    void Rebuild() override;
    CWorldObject* GetErrorPiece() override;
    int GetStatus() override;
    int GetErrorHelpId() override;
    void ResetError() override;

private:
    CRouteNodeMan* m_manager = nullptr;
};

} // namespace zentrix
