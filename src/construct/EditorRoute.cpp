#include "construct/EditorRoute.h"

#include "race/RouteNodeMan.h"

namespace zentrix {

void CEditorRoute::Rebuild() {
    if (!m_manager)
        return;
    m_manager->SetEditorBuild(true);
    m_manager->BuildRoute();
    m_manager->SetEditorBuild(false);
}

CWorldObject* CEditorRoute::GetErrorPiece() {
    return m_manager ? m_manager->GetRouteErrorPiece() : nullptr;
}

int CEditorRoute::GetStatus() {
    return m_manager ? m_manager->GetRouteStatus() : CRouteNodeMan::kRouteOk;
}

int CEditorRoute::GetErrorHelpId() {
    return m_manager ? m_manager->GetRouteErrorHelpId() : -1;
}

void CEditorRoute::ResetError() {
    if (m_manager)
        m_manager->SetRouteError(CRouteNodeMan::kRouteOk, nullptr, true);
}

} // namespace zentrix
