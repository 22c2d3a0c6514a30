#pragma once

namespace zentrix {

class CMesh;
struct ViewVolume;

/// True when a sphere lies wholly outside one of the view volume's planes (touching from outside counts
/// as outside).
bool SphereOutsideView(const ViewVolume& volume, const float* centre, float radius);

/// The visibility test of the preparation pass: the mesh is culled when its world bounding sphere lies
/// outside the current view; a radius of 0 is never culled.
void CullMesh(CMesh& mesh);

/// Draws a mesh through its vertex buffer on the current view's device: opaque batches now, each texture
/// bound only when it changes, translucent batches queued for the translucent pass.
void DrawMeshVB(CMesh& mesh);

} // namespace zentrix
