#include "engine/PolygonPipeline.h"

#include "engine/DisplayDevice.h"
#include "engine/Mesh.h"
#include "engine/MeshBuffer.h"
#include "engine/PipelineContext.h"
#include "engine/RenderBatch.h"
#include "engine/Texture.h"
#include "engine/TexturePixel.h"
#include "engine/TextureSurface.h"
#include "engine/Viewport.h"

#include <algorithm>

namespace zentrix {

using plat::raster::RenderState;
using plat::raster::StageState;
using plat::raster::TextureArg;
using plat::raster::TextureOp;

namespace {

void SetStage(CDisplayDevice& device, int stage, TextureOp colourOp, TextureOp alphaOp) {
    device.SetTextureStageState(stage, StageState::ColourArg1,
                                static_cast<std::uint32_t>(TextureArg::Texture));
    device.SetTextureStageState(stage, StageState::ColourArg2,
                                static_cast<std::uint32_t>(TextureArg::Current));
    device.SetTextureStageState(stage, StageState::ColourOp, static_cast<std::uint32_t>(colourOp));
    device.SetTextureStageState(stage, StageState::AlphaArg1,
                                static_cast<std::uint32_t>(TextureArg::Texture));
    device.SetTextureStageState(stage, StageState::AlphaArg2,
                                static_cast<std::uint32_t>(TextureArg::Current));
    device.SetTextureStageState(stage, StageState::AlphaOp, static_cast<std::uint32_t>(alphaOp));
}

void BindIfChanged(CDisplayDevice& device, CTexture* texture, int stage) {
    if (device.BoundTexture(stage) == texture)
        return;
    if (texture)
        CreateTextureSurface(device, *texture);
    BindTexture(device, texture, stage);
}

plat::raster::Matrix4 AsMatrix(const float* m) {
    plat::raster::Matrix4 out;
    std::copy_n(m, 16, out.m.begin());
    return out;
}

} // namespace

bool SphereOutsideView(const ViewVolume& volume, const float* centre, float radius) {
    for (const ClipPlane& plane : volume.planes)
        if (PlaneDistance(plane, centre) >= radius)
            return true;
    return false;
}

void CullMesh(CMesh& mesh) {
    mesh.SetCulled(false);
    const PipelineContext& context = GetPipelineContext();
    if (mesh.GetRadius() == 0.0f || !context.viewport)
        return;
    mesh.SetCulled(
        SphereOutsideView(context.viewport->GetClipPlanes(), mesh.GetWorldCentre(), mesh.GetRadius()));
}

void DrawMeshVB(CMesh& mesh) {
    PipelineContext& context = GetPipelineContext();
    CDisplayDevice* device = context.device;
    if (!device || !device->GetRenderDevice() || mesh.IsHidden() || mesh.GetVertexCount() == 0)
        return;
    device->SetRenderState(RenderState::Lighting, (mesh.GetFlags() & CMesh::kFlagFileColours) ? 0 : 1);
    if (!mesh.UpdateVertexBuffer())
        return;
    const CMeshBuffer& buffer = *mesh.GetBuffer();
    const bool secondList = buffer.Layout().tex1 >= 0;
    if (!secondList && device->IsTwoStageMode()) {
        SetStage(*device, 0, TextureOp::Modulate, TextureOp::SelectArg1);
        device->SetTextureStageState(1, StageState::ColourOp, static_cast<std::uint32_t>(TextureOp::Disable));
        device->SetTextureStageState(1, StageState::AlphaOp, static_cast<std::uint32_t>(TextureOp::Disable));
        device->SetTwoStageMode(false);
    } else if (secondList && !device->IsTwoStageMode()) {
        SetStage(*device, 0, TextureOp::Modulate, TextureOp::SelectArg1);
        SetStage(*device, 1, TextureOp::BlendTextureAlpha, TextureOp::SelectArg1);
        device->SetTwoStageMode(true);
    }
    // The state caches skip what is already set: texture coordinates from set 0, no blending.
    device->SetTextureStageState(0, StageState::TexCoordIndex, 0);
    device->SetRenderState(RenderState::AlphaBlendEnable, 0);
    device->SetRenderState(RenderState::ZWriteEnable, 1);
    if (mesh.GetFlags() & CMesh::kFlagStage1Modulate) {
        device->SetTextureStageState(1, StageState::ColourArg1,
                                     static_cast<std::uint32_t>(TextureArg::Texture));
        device->SetTextureStageState(1, StageState::ColourArg2,
                                     static_cast<std::uint32_t>(TextureArg::Current));
        device->SetTextureStageState(1, StageState::ColourOp,
                                     static_cast<std::uint32_t>(TextureOp::Modulate));
        device->SetTextureStageState(1, StageState::AlphaOp, static_cast<std::uint32_t>(TextureOp::Disable));
    }

    float world[16];
    mesh.GetMatrix(world);
    const MeshFace* faces0 = mesh.GetFaces(0);
    const MeshFace* faces1 = mesh.GetFaces(1);
    bool depthKnown = false, worldSet = false;
    float depth = 0.0f;
    for (const MeshBatch& batch : buffer.Batches()) {
        CTexture* texture = faces0[batch.face].texture;
        if (!texture) {
            if (device->BoundTexture(0))
                BindTexture(*device, nullptr, 0);
        } else if (texture->GetFlags() & kTexTranslucent) {
            if (!depthKnown) {
                // Depth of the world sphere centre along the view direction.
                const float* c = mesh.GetWorldCentre();
                const float* v = context.view;
                depth = c[0] * v[2] + c[1] * v[6] + c[2] * v[10] + v[14];
                depthKnown = true;
            }
            QueueTransparent(*device, &buffer.Vertices(), batch.firstVertex, batch.vertexCount,
                             batch.indices.data(), static_cast<int>(batch.indices.size()), texture,
                             mesh.WorldMatrix(), mesh.GetFlags(), depth);
            continue;
        } else {
            if (secondList) {
                device->SetTextureStageState(1, StageState::TexCoordIndex, 1);
                BindIfChanged(*device, faces1[batch.face].texture, 1);
            }
            BindIfChanged(*device, texture, 0);
        }
        if (!worldSet) {
            device->GetRenderDevice()->SetTransform(plat::raster::TransformKind::World, AsMatrix(world));
            worldSet = true;
        }
        device->GetRenderDevice()->DrawIndexedTriangles(buffer.Vertices(), batch.firstVertex,
                                                        batch.vertexCount, batch.indices.data(),
                                                        static_cast<int>(batch.indices.size()));
    }
}

} // namespace zentrix
