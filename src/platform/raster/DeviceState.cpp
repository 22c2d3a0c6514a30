#include "platform/raster/DeviceState.h"

namespace plat::raster {

namespace {
constexpr std::uint32_t U(auto e) {
    return static_cast<std::uint32_t>(e);
}
bool StageOk(int stage) {
    return stage >= 0 && stage < kStageCount;
}
} // namespace

DeviceState::DeviceState() {
    using RS = RenderState;
    Set(RS::ShadeMode, U(ShadeMode::Gouraud));
    Set(RS::TexturePerspective, 1);
    Set(RS::Lighting, 1);
    Set(RS::SrcBlend, U(BlendFactor::One));
    Set(RS::DestBlend, U(BlendFactor::Zero));
    Set(RS::ZEnable, 1);
    Set(RS::ZWriteEnable, 1);
    Set(RS::ZFunc, U(Compare::LessEqual));
    Set(RS::AlphaFunc, U(Compare::Always));
    Set(RS::CullMode, U(CullMode::CounterClockwise));
    Set(RS::FogEnd, FloatState(1.0f));
    Set(RS::FogDensity, FloatState(1.0f));
    for (int s = 0; s < kStageCount; ++s) {
        Set(s, StageState::ColourOp, U(s == 0 ? TextureOp::Modulate : TextureOp::Disable));
        Set(s, StageState::ColourArg1, U(TextureArg::Texture));
        Set(s, StageState::ColourArg2, U(TextureArg::Current));
        Set(s, StageState::AlphaOp, U(s == 0 ? TextureOp::SelectArg1 : TextureOp::Disable));
        Set(s, StageState::AlphaArg1, U(TextureArg::Texture));
        Set(s, StageState::AlphaArg2, U(TextureArg::Current));
        Set(s, StageState::TexCoordIndex, static_cast<std::uint32_t>(s));
        Set(s, StageState::Address, U(TextureAddress::Wrap));
        Set(s, StageState::MagFilter, U(TextureFilter::Point));
        Set(s, StageState::MinFilter, U(TextureFilter::Point));
    }
    m_transforms.fill(Matrix4::Identity());
}

void DeviceState::Set(RenderState s, std::uint32_t v) {
    if (s < RenderState::Count)
        m_render[static_cast<std::size_t>(s)] = v;
}

std::uint32_t DeviceState::Get(int stage, StageState s) const {
    if (!StageOk(stage) || s >= StageState::Count)
        return 0;
    return m_stages[static_cast<std::size_t>(stage)][static_cast<std::size_t>(s)];
}

void DeviceState::Set(int stage, StageState s, std::uint32_t v) {
    if (StageOk(stage) && s < StageState::Count)
        m_stages[static_cast<std::size_t>(stage)][static_cast<std::size_t>(s)] = v;
}

const Texture* DeviceState::BoundTexture(int stage) const {
    return StageOk(stage) ? m_textures[static_cast<std::size_t>(stage)] : nullptr;
}

void DeviceState::Bind(int stage, const Texture* texture) {
    if (StageOk(stage))
        m_textures[static_cast<std::size_t>(stage)] = texture;
}

void DeviceState::SetTransform(TransformKind kind, const Matrix4& m) {
    if (kind < TransformKind::Count)
        m_transforms[static_cast<std::size_t>(kind)] = m;
}

Light DeviceState::GetLight(int index) const {
    return index >= 0 && index < kLightCount ? m_lights[static_cast<std::size_t>(index)] : Light{};
}

void DeviceState::SetLight(int index, const Light& light) {
    if (index >= 0 && index < kLightCount)
        m_lights[static_cast<std::size_t>(index)] = light;
}

bool DeviceState::IsLightEnabled(int index) const {
    return index >= 0 && index < kLightCount && m_lightOn[static_cast<std::size_t>(index)];
}

void DeviceState::EnableLight(int index, bool on) {
    if (index >= 0 && index < kLightCount)
        m_lightOn[static_cast<std::size_t>(index)] = on;
}

} // namespace plat::raster
