// Builds a particle kind from arbitrary values (four bytes each, in the order they are read; a value past
// the end is missing) and runs a system of it, attached to a moving owner or not, for a while: no crash,
// no huge pool, no vertex value that is not a number.
#include "engine/GeometryBuffer.h"
#include "engine/Scene.h"
#include "engine/Texture.h"
#include "render/ParticleServices.h"
#include "render/ParticleSystem.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace zentrix;

namespace {

class ByteValues final : public IParticleServices {
public:
    ByteValues(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool GetInt(int, int, int& out, int) override { return Take(out); }
    bool GetFloat(int, int, float& out, int) override { return Take(out); }
    bool GetVector(int, int, CVector& out, int) override { return Take(out.x) && Take(out.y) && Take(out.z); }
    bool GetString(int, int, char* buffer, std::size_t size) override {
        std::uint8_t length = 0;
        if (!Take(length) || m_at + length > m_size)
            return false;
        const std::size_t n = length < size - 1 ? length : size - 1;
        std::memcpy(buffer, m_data + m_at, n);
        buffer[n] = '\0';
        m_at += length;
        return true;
    }
    CTexture* GetTexture(int id) override { return id % 2 ? &m_texture : nullptr; }
    CScene* GetScene() override { return &m_scene; }

private:
    template <typename T> bool Take(T& out) {
        if (m_at + sizeof(T) > m_size)
            return false;
        std::memcpy(&out, m_data + m_at, sizeof(T));
        m_at += sizeof(T);
        return true;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
    CTexture m_texture;
    CScene m_scene;
};

class Owner final : public IParticleOwner {
public:
    bool IsDead() const override { return false; }
    void GetWorldMatrix(float* out) const override {
        GetWorldRotation(out);
        out[12] = 5.0f;
    }
    void GetWorldRotation(float* out) const override {
        for (int i = 0; i < 16; ++i)
            out[i] = i % 5 == 0 ? 1.0f : 0.0f;
    }
    bool GetVelocity(CVector& out) const override {
        out = {3, 0, 4};
        return true;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    ByteValues values(data, size);
    Owner owner;
    CParticleSystem::SetServices(&values);
    CParticleSystem* system = CParticleSystem::Create(9022, {}, size % 2 ? &owner : nullptr, 0);
    if (system) {
        if (system->GetPoolSize() > 4096)
            std::abort();
        for (int frame = 0; frame < 40 && CParticleSystem::IsAlive(system); ++frame) {
            CParticleSystem::UpdateAll(25);
            if (!CParticleSystem::IsAlive(system))
                break;
            for (std::uint32_t i = 0; i < system->GetUsedCount(); ++i) {
                const DecalVertex& v = system->GetBuffer()->GetVertices()[i];
                if (std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z) || std::isnan(v.size))
                    std::abort();
            }
        }
    }
    CParticleSystem::DestroyAll();
    CParticleSystem::FreeKinds();
    CParticleSystem::SetServices(nullptr);
    return 0;
}
