#include "platform/raster/RecordingDevice.h"

#include <algorithm>
#include <cstdio>

namespace plat::raster {

namespace {
constexpr const char* kKindNames[] = {
    "SetTransform",   "SetViewport", "SetRenderState", "SetTextureStageState",
    "SetTexture",     "SetMaterial", "SetLight",       "EnableLight",
    "BeginScene",     "EndScene",    "Clear",          "DrawIndexedTriangles",
    "ProcessVertices"};
}

int RecordingDevice::CountOf(Kind kind) const {
    return static_cast<int>(
        std::count_if(m_calls.begin(), m_calls.end(), [&](const Call& c) { return c.kind == kind; }));
}

int RecordingDevice::CountOf(RenderState state) const {
    return static_cast<int>(std::count_if(m_calls.begin(), m_calls.end(), [&](const Call& c) {
        return c.kind == Kind::SetRenderState && c.what == static_cast<std::uint32_t>(state);
    }));
}

std::string RecordingDevice::Describe() const {
    std::string out;
    char line[160];
    for (const Call& c : m_calls) {
        std::snprintf(line, sizeof line,
                      "%s what=%u value=0x%X stage=%d texture=%p start=%d count=%d indices=%d\n",
                      kKindNames[static_cast<int>(c.kind)], c.what, c.value, c.stage,
                      static_cast<const void*>(c.texture), c.start, c.count, c.indexCount);
        out += line;
    }
    return out;
}

void RecordingDevice::SetTransform(TransformKind kind, const Matrix4& matrix) {
    m_state.SetTransform(kind, matrix);
    Call c(Kind::SetTransform);
    c.what = static_cast<std::uint32_t>(kind);
    c.matrix = matrix;
    m_calls.push_back(c);
}

void RecordingDevice::SetViewport(const Viewport& viewport) {
    m_state.SetViewport(viewport);
    Call c(Kind::SetViewport);
    c.viewport = viewport;
    m_calls.push_back(c);
}

void RecordingDevice::SetRenderState(RenderState state, std::uint32_t value) {
    m_state.Set(state, value);
    Call c(Kind::SetRenderState);
    c.what = static_cast<std::uint32_t>(state);
    c.value = value;
    m_calls.push_back(c);
}

void RecordingDevice::SetTextureStageState(int stage, StageState state, std::uint32_t value) {
    m_state.Set(stage, state, value);
    Call c(Kind::SetTextureStageState);
    c.stage = stage;
    c.what = static_cast<std::uint32_t>(state);
    c.value = value;
    m_calls.push_back(c);
}

void RecordingDevice::SetTexture(int stage, const Texture* texture) {
    m_state.Bind(stage, texture);
    Call c(Kind::SetTexture);
    c.stage = stage;
    c.texture = texture;
    m_calls.push_back(c);
}

void RecordingDevice::SetMaterial(const Material& material) {
    m_state.SetMaterial(material);
    m_calls.push_back(Call(Kind::SetMaterial));
}

void RecordingDevice::SetLight(int index, const Light& light) {
    m_state.SetLight(index, light);
    Call c(Kind::SetLight);
    c.what = static_cast<std::uint32_t>(index);
    m_calls.push_back(c);
}

void RecordingDevice::EnableLight(int index, bool on) {
    m_state.EnableLight(index, on);
    Call c(Kind::EnableLight);
    c.what = static_cast<std::uint32_t>(index);
    c.value = on ? 1 : 0;
    m_calls.push_back(c);
}

bool RecordingDevice::BeginScene() {
    m_calls.push_back(Call(Kind::BeginScene));
    return !m_failBegin;
}

void RecordingDevice::EndScene() {
    m_calls.push_back(Call(Kind::EndScene));
}

void RecordingDevice::Clear(std::uint32_t flags, std::uint32_t colour, float) {
    Call c(Kind::Clear);
    c.what = flags;
    c.value = colour;
    m_calls.push_back(c);
}

void RecordingDevice::DrawIndexedTriangles(const VertexBuffer& buffer, int startVertex, int vertexCount,
                                           const std::uint16_t*, int indexCount) {
    Call c(Kind::DrawIndexedTriangles);
    c.buffer = &buffer;
    c.texture = m_state.BoundTexture(0);
    c.start = startVertex;
    c.count = vertexCount;
    c.indexCount = indexCount;
    c.matrix = m_state.Transform(TransformKind::World) * m_state.Transform(TransformKind::View) *
               m_state.Transform(TransformKind::Projection);
    m_calls.push_back(c);
}

bool RecordingDevice::ProcessVertices(std::uint32_t flags, const VertexBuffer& source, int sourceStart,
                                      int count, VertexBuffer&, int destinationStart) {
    Call c(Kind::ProcessVertices);
    c.what = flags;
    c.buffer = &source;
    c.start = sourceStart;
    c.count = count;
    c.indexCount = destinationStart;
    m_calls.push_back(c);
    return true;
}

} // namespace plat::raster
