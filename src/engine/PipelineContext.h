#pragma once

namespace zentrix {

class CDisplayDevice;
class CViewport;

/// What the drawing passes of one view share: the viewport and device, and the view values copied
/// when the view begins.
struct PipelineContext {
    CViewport* viewport = nullptr;
    CDisplayDevice* device = nullptr;
    float view[16] = {};
    int width = 0;
    int height = 0;
    float centreX = 0;
    float centreY = 0;
    float projectionScale = 0;
    float nearDistance = 0;
};

/// The one context of the program.
PipelineContext& GetPipelineContext();
/// Opens the context for a viewport's view (after its camera set-up).
void BeginPipelineView(CViewport* viewport);
/// Closes the context: no viewport or device until the next view begins.
void EndPipelineView();

} // namespace zentrix
