#include "engine/PipelineContext.h"

#include "engine/Camera.h"
#include "engine/Viewport.h"

#include <algorithm>

namespace zentrix {

PipelineContext& GetPipelineContext() {
    static PipelineContext context;
    return context;
}

void BeginPipelineView(CViewport* viewport) {
    PipelineContext& c = GetPipelineContext();
    c.viewport = viewport;
    c.device = viewport ? viewport->GetDevice() : nullptr;
    if (!viewport)
        return;
    std::copy_n(viewport->GetViewMatrix(), 16, c.view);
    c.width = viewport->GetWidth();
    c.height = viewport->GetHeight();
    c.centreX = static_cast<float>(c.width) / 2.0f;
    c.centreY = static_cast<float>(c.height) / 2.0f;
    const CCamera* camera = viewport->GetCamera();
    c.projectionScale = camera ? camera->GetProjectionScale() : 0.0f;
    c.nearDistance = camera ? camera->GetNearPlane() : 0.0f;
}

void EndPipelineView() {
    PipelineContext& c = GetPipelineContext();
    c.viewport = nullptr;
    c.device = nullptr;
}

} // namespace zentrix
