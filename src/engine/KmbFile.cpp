#include "engine/KmbFile.h"

#include "engine/EngineLog.h"
#include "engine/Mesh.h"
#include "engine/MeshTextureAccess.h"
#include "foundation/base/FatalError.h"
#include "foundation/resources/LittleEndian.h"
#include "platform/fs/FileSystem.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace zentrix {

namespace {

constexpr std::uint32_t kFlagColours = 1;
constexpr std::uint32_t kFlagSmoothing = 2;
constexpr std::uint32_t kFlagVertexAnimation = 4;
constexpr std::uint32_t kFlagKeyTracks = 8;
constexpr std::uint32_t kNoTexture = 0xFFFFFFFF;
constexpr std::uint32_t kCompleteCache = 0xFFFFFFFF;
constexpr std::uint32_t kKeyRotation = 1u << 28;
constexpr std::uint32_t kKeyScale = 1u << 29;
constexpr std::uint32_t kKeyPosition = 1u << 30;
constexpr std::size_t kVertexBytes = 24;
constexpr std::size_t kFaceBytes = 44;
constexpr std::size_t kMaxNameBytes = 255;
/// Frame records nest; deeper files are refused rather than read by unbounded recursion.
constexpr int kMaxDepth = 64;
/// Frames a vertex animation may have (one table entry each).
constexpr std::uint32_t kMaxAnimationFrames = 65536;

/// Bounded little-endian reading over the image; every read fails once the data runs out.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Left() const { return m_size - m_pos; }
    bool Has(std::uint64_t bytes) const { return bytes <= Left(); }

    bool U32(std::uint32_t& out) {
        if (!Has(4))
            return false;
        out = LittleEndian::ReadU32(m_data + m_pos);
        m_pos += 4;
        return true;
    }
    bool F32(float& out) {
        std::uint32_t bits;
        if (!U32(bits))
            return false;
        out = std::bit_cast<float>(bits);
        return true;
    }
    bool F64(double& out) {
        if (!Has(8))
            return false;
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | m_data[m_pos + static_cast<std::size_t>(i)];
        m_pos += 8;
        out = std::bit_cast<double>(bits);
        return true;
    }
    bool Bytes(std::uint8_t* out, std::size_t n) {
        if (!Has(n))
            return false;
        if (n)
            std::memcpy(out, m_data + m_pos, n);
        m_pos += n;
        return true;
    }
    bool Skip(std::size_t n) {
        if (!Has(n))
            return false;
        m_pos += n;
        return true;
    }
    /// A NUL-terminated text; false when the terminator is missing.
    bool Text(std::string& out) {
        const void* end = std::memchr(m_data + m_pos, 0, Left());
        if (!end)
            return false;
        const std::size_t n = static_cast<const std::uint8_t*>(end) - (m_data + m_pos);
        out.assign(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n + 1;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

class KmbLoad {
public:
    KmbLoad(const std::uint8_t* data, std::size_t size) : m_in(data, size) {}

    bool Run(CMesh& staging, KmbAppData* appData) {
        std::uint32_t kind;
        if (!m_in.U32(kind))
            return Fail("no header");
        if (kind > 1)
            FatalError("invalid header\n");
        if (kind == 1) {
            std::uint32_t n;
            if (!m_in.U32(n) || !m_in.Has(n))
                return Fail("application data past the end");
            std::vector<std::uint8_t> bytes(n);
            m_in.Bytes(bytes.data(), n);
            if (appData)
                appData->bytes = std::move(bytes);
        }
        std::uint32_t textureBytes;
        if (!m_in.U32(textureBytes) || !m_in.Has(textureBytes))
            return Fail("texture block past the end");
        {
            std::vector<std::uint8_t> block(textureBytes);
            m_in.Bytes(block.data(), textureBytes);
            Reader textures(block.data(), block.size());
            while (textures.Left() > 0) {
                std::string name, second;
                std::uint8_t flags;
                if (!textures.Text(name) || !textures.Bytes(&flags, 1) ||
                    ((flags & 1) && !textures.Text(second)))
                    return Fail("bad texture entry");
                m_textures.push_back(LoadMeshTexture(name.c_str()));
            }
        }
        // Top-level records follow one another until a negative vertex count.
        for (;;) {
            std::uint32_t count;
            if (!m_in.U32(count))
                return Fail("frame list not ended");
            if (static_cast<std::int32_t>(count) < 0)
                return true;
            if (!Frame(staging, count, 1))
                return false;
        }
    }

private:
    bool Fail(const char* what) {
        EngineLog("OMBRELLoadKMB", "Invalid KMB: %s\n", what);
        return false;
    }

    /// One frame record whose vertex count A was read already; its children are read by nesting.
    bool Frame(CEntity& parent, std::uint32_t vertexCount, int depth) {
        if (depth > kMaxDepth)
            return Fail("frames nested too deeply");
        std::uint32_t flags, faceCount, childCount, nameLength;
        if (!m_in.U32(flags) || !m_in.U32(faceCount) || !m_in.U32(childCount))
            return Fail("frame header past the end");
        double m[16];
        for (double& v : m)
            if (!m_in.F64(v))
                return Fail("matrix past the end");
        if (!m_in.U32(nameLength) || !m_in.Has(nameLength))
            return Fail("name past the end");
        std::string name(nameLength, '\0');
        m_in.Bytes(reinterpret_cast<std::uint8_t*>(name.data()), nameLength);
        if (name.size() > kMaxNameBytes)
            name.resize(kMaxNameBytes);
        // Vertices and faces follow the children, so they must fit in what is left now.
        if (!m_in.Has(vertexCount * std::uint64_t{kVertexBytes} + faceCount * std::uint64_t{kFaceBytes}) ||
            !m_in.Has(childCount * std::uint64_t{4}))
            return Fail("counts past the end");

        auto* mesh = new CMesh(&parent);
        mesh->SetName(nameLength ? name.c_str() : nullptr);
        mesh->SetVertexCount(vertexCount);
        mesh->SetFaceCount(faceCount, 0);
        float local[16];
        for (int i = 0; i < 16; ++i)
            local[i] = static_cast<float>(m[i]);
        mesh->SetMatrix(local);

        for (std::uint32_t c = 0; c < childCount; ++c) {
            std::uint32_t count;
            if (!m_in.U32(count))
                return Fail("child past the end");
            if (static_cast<std::int32_t>(count) < 0)
                return Fail("child record missing");
            if (!Frame(*mesh, count, depth + 1))
                return false;
        }

        MeshVertex* vertices = mesh->GetVertices();
        for (std::uint32_t i = 0; i < vertexCount; ++i) {
            std::array<float, 6> fields;
            for (float& field : fields)
                if (!m_in.F32(field))
                    return Fail("vertices past the end");
            SetVertexFields(vertices[i], fields);
        }
        MeshFace* faces = mesh->GetFaces(0);
        for (std::uint32_t i = 0; i < faceCount; ++i) {
            MeshFace& f = faces[i];
            std::uint32_t texture;
            if (!m_in.U32(f.a) || !m_in.U32(f.b) || !m_in.U32(f.c) || !m_in.U32(texture) ||
                !m_in.U32(f.flags))
                return Fail("faces past the end");
            std::array<float, 6> coords;
            for (float& coord : coords)
                if (!m_in.F32(coord))
                    return Fail("faces past the end");
            SetFaceCoords(f, coords);
            if (f.a >= vertexCount || f.b >= vertexCount || f.c >= vertexCount)
                return Fail("a face names a missing vertex");
            // A number past the table is a face without a texture.
            f.texture = texture < m_textures.size() ? m_textures[texture] : nullptr;
        }
        if (flags & kFlagColours) {
            if (!m_in.Has(vertexCount * std::uint64_t{3}))
                return Fail("colours past the end");
            mesh->SetColourCount(vertexCount);
            m_in.Bytes(mesh->GetColours(), static_cast<std::size_t>(vertexCount) * 3);
            mesh->SetFlags(mesh->GetFlags() | CMesh::kFlagFileColours);
        }
        if (flags & kFlagSmoothing) {
            if (!m_in.Has(faceCount * std::uint64_t{4}))
                return Fail("smoothing groups past the end");
            auto& groups = mesh->SmoothingGroups();
            groups.resize(faceCount);
            for (std::uint32_t& g : groups)
                m_in.U32(g);
        }
        if ((flags & kFlagVertexAnimation) && !VertexAnimation(*mesh, vertexCount))
            return false;
        if ((flags & kFlagKeyTracks) && !KeyTracks(*mesh))
            return false;
        return true;
    }

    bool VertexAnimation(CMesh& mesh, std::uint32_t vertexCount) {
        std::uint32_t frames, total, markerCount;
        if (!m_in.U32(frames) || !m_in.U32(total) || !m_in.U32(markerCount) ||
            !m_in.Has(markerCount * std::uint64_t{4}))
            return Fail("vertex animation past the end");
        std::vector<std::uint32_t> markers(markerCount);
        for (std::uint32_t& marker : markers)
            m_in.U32(marker);
        if (markerCount < 2)
            return true;
        if (vertexCount % markerCount != 0 || frames == 0 || frames > kMaxAnimationFrames) {
            EngineLog("OMBRELLoadKMB", "vertex animation of %s dropped\n",
                      mesh.GetName() ? mesh.GetName() : "");
            return true;
        }
        auto animation = std::make_unique<MeshVertexAnimation>();
        animation->frameCount = frames;
        animation->totalVertices = vertexCount;
        animation->markers = markers;
        animation->frameSets.assign(frames, -1);
        // Frame f shows the set of the marker naming it, else the set of the frame before; frames before
        // the first marker show the first set.
        std::size_t k = 0;
        std::int32_t shown = 0;
        for (std::uint32_t f = 0; f < frames; ++f) {
            if (k < markers.size() && markers[k] == f)
                shown = static_cast<std::int32_t>(k++);
            animation->frameSets[f] = shown;
        }
        mesh.SetVertexAnimation(std::move(animation), vertexCount / markerCount);
        return true;
    }

    bool KeyTracks(CMesh& mesh) {
        auto tracks = std::make_unique<MeshKeyTracks>();
        mesh.GetLocalMatrix(tracks->base);
        std::uint32_t lastFrame, keyCount;
        if (!m_in.U32(lastFrame) || !m_in.U32(keyCount))
            return Fail("key tracks past the end");
        if (lastFrame > MeshKeyTracks::kMaxLastFrame)
            return Fail("last key frame out of range");
        tracks->lastFrame = lastFrame;
        const std::size_t frames = static_cast<std::size_t>(lastFrame) + 1;
        if (keyCount == kCompleteCache) {
            if (!m_in.Has(frames * 64))
                return Fail("key cache past the end");
            tracks->frameDone.assign(frames, 1);
            tracks->cache.resize(frames);
            for (auto& matrix : tracks->cache)
                for (float& v : matrix)
                    m_in.F32(v);
            mesh.SetKeyTracks(std::move(tracks));
            return true;
        }
        if (!m_in.Has(keyCount * std::uint64_t{4}))
            return Fail("keys past the end");
        tracks->keys.reserve(std::min<std::size_t>(keyCount, frames));
        for (std::uint32_t i = 0; i < keyCount; ++i) {
            std::uint32_t t;
            if (!m_in.U32(t))
                return Fail("keys past the end");
            const std::uint32_t frame = t & 0x0FFFFFFF;
            if (t & kKeyRotation) {
                float q[4];
                for (float& v : q)
                    if (!m_in.F32(v))
                        return Fail("keys past the end");
                AddRotationKey(*tracks, frame, Quaternion{q[3], q[0], q[1], q[2]});
            }
            if (t & kKeyScale) {
                float s[3];
                for (float& v : s)
                    if (!m_in.F32(v))
                        return Fail("keys past the end");
                AddScaleKey(*tracks, frame, s);
            }
            if (t & kKeyPosition) {
                float p[3];
                for (float& v : p)
                    if (!m_in.F32(v))
                        return Fail("keys past the end");
                AddPositionKey(*tracks, frame, p);
            }
        }
        if (!tracks->keys.empty())
            mesh.SetKeyTracks(std::move(tracks));
        return true;
    }

    Reader m_in;
    std::vector<CTexture*> m_textures;
};

/// Builds a KMB image.
class KmbSave {
public:
    std::vector<std::uint8_t> Image(const CEntity* root, const KmbAppData* appData) {
        // The table holds the textures of the meshes below the root; the root's own faces are not
        // written.
        for (const CEntity* child = root->GetFirstChild(); child; child = child->GetNextSibling())
            CollectTextures(child);
        U32(1);
        const std::size_t appBytes = appData ? appData->bytes.size() : 0;
        U32(static_cast<std::uint32_t>(appBytes));
        if (appBytes)
            m_out.insert(m_out.end(), appData->bytes.begin(), appData->bytes.end());
        std::uint32_t textureBytes = 0;
        for (const CTexture* texture : m_textures)
            textureBytes += static_cast<std::uint32_t>(TextureName(texture).size() + 2);
        U32(textureBytes);
        for (const CTexture* texture : m_textures) {
            const std::string name = TextureName(texture);
            m_out.insert(m_out.end(), name.begin(), name.end());
            m_out.push_back(0);
            m_out.push_back(0);
        }
        for (const CEntity* child = root->GetFirstChild(); child; child = child->GetNextSibling())
            if (const auto* mesh = dynamic_cast<const CMesh*>(child))
                Frame(*mesh);
        U32(0xFFFFFFFF);
        return std::move(m_out);
    }

private:
    static std::string TextureName(const CTexture* texture) {
        const char* name = MeshTextureName(texture);
        return name ? name : "";
    }

    void CollectTextures(const CEntity* node) {
        if (const auto* mesh = dynamic_cast<const CMesh*>(node)) {
            for (std::uint32_t i = 0; i < mesh->GetFaceCount(0); ++i) {
                CTexture* texture = mesh->GetFaces(0)[i].texture;
                if (texture && std::find(m_textures.begin(), m_textures.end(), texture) == m_textures.end())
                    m_textures.push_back(texture);
            }
        }
        for (const CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
            CollectTextures(child);
    }

    std::uint32_t TextureNumber(const CTexture* texture) const {
        if (!texture)
            return kNoTexture;
        const auto it = std::find(m_textures.begin(), m_textures.end(), texture);
        return it == m_textures.end() ? kNoTexture : static_cast<std::uint32_t>(it - m_textures.begin());
    }

    void U32(std::uint32_t v) { LittleEndian::AppendU32(m_out, v); }
    void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
    void F64(double v) {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            m_out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }

    void Frame(const CMesh& mesh) {
        const MeshVertexAnimation* animation = mesh.GetVertexAnimation();
        const MeshKeyTracks* tracks = mesh.GetKeyTracks();
        const bool colours = mesh.GetColours() != nullptr;
        const bool groups = !mesh.SmoothingGroups().empty();
        const std::uint32_t flags = (colours ? kFlagColours : 0) | (groups ? kFlagSmoothing : 0) |
                                    (animation ? kFlagVertexAnimation : 0) | (tracks ? kFlagKeyTracks : 0);
        const std::uint32_t vertexCount =
            animation ? mesh.GetVertexCount() * static_cast<std::uint32_t>(animation->markers.size())
                      : mesh.GetVertexCount();
        const std::uint32_t faceCount = mesh.GetFaceCount(0);
        std::vector<const CMesh*> children;
        for (const CEntity* child = mesh.GetFirstChild(); child; child = child->GetNextSibling())
            if (const auto* childMesh = dynamic_cast<const CMesh*>(child))
                children.push_back(childMesh);
        U32(vertexCount);
        U32(flags);
        U32(faceCount);
        U32(static_cast<std::uint32_t>(children.size()));
        float local[16];
        mesh.GetLocalMatrix(local);
        for (int i = 0; i < 16; ++i)
            F64((i % 4) == 3 ? (i == 15 ? 1.0 : 0.0) : local[i]);
        const std::string name = mesh.GetName() ? mesh.GetName() : "";
        U32(static_cast<std::uint32_t>(name.size()));
        m_out.insert(m_out.end(), name.begin(), name.end());
        for (const CMesh* child : children)
            Frame(*child);

        const MeshVertex* block = mesh.GetVertexBlock();
        for (std::uint32_t i = 0; i < vertexCount; ++i)
            for (float field : VertexFields(block[i]))
                F32(field);
        const MeshFace* faces = mesh.GetFaces(0);
        for (std::uint32_t i = 0; i < faceCount; ++i) {
            const MeshFace& f = faces[i];
            U32(f.a);
            U32(f.b);
            U32(f.c);
            U32(TextureNumber(f.texture));
            U32(f.flags);
            for (float coord : FaceCoords(f))
                F32(coord);
        }
        if (colours) {
            // One colour per vertex written, so that the reader, which reads as many, stays in step.
            const std::uint8_t* c = mesh.GetColours();
            const std::uint32_t have = mesh.GetColourCount();
            for (std::uint32_t i = 0; i < vertexCount * 3; ++i)
                m_out.push_back(i / 3 < have ? c[i] : 0);
        }
        if (groups) {
            const auto& g = mesh.SmoothingGroups();
            for (std::uint32_t i = 0; i < faceCount; ++i)
                U32(i < g.size() ? g[i] : 0);
        }
        if (animation) {
            U32(animation->frameCount);
            U32(vertexCount);
            U32(static_cast<std::uint32_t>(animation->markers.size()));
            for (std::uint32_t marker : animation->markers)
                U32(marker);
        }
        if (tracks)
            KeyTracks(*tracks);
    }

    void KeyTracks(const MeshKeyTracks& tracks) {
        U32(tracks.lastFrame);
        const std::size_t frames = static_cast<std::size_t>(tracks.lastFrame) + 1;
        bool complete = tracks.frameDone.size() >= frames && tracks.cache.size() >= frames;
        for (std::size_t f = 0; complete && f < frames; ++f)
            complete = tracks.frameDone[f] != 0;
        if (complete) {
            U32(kCompleteCache);
            for (std::size_t f = 0; f < frames; ++f)
                for (float v : tracks.cache[f])
                    F32(v);
            return;
        }
        U32(static_cast<std::uint32_t>(tracks.keys.size()));
        for (const MeshKey& key : tracks.keys) {
            const auto frame =
                key.time >= 0.0f && key.time < 268435456.0f ? static_cast<std::uint32_t>(key.time) : 0;
            U32(frame | (key.hasRotation ? kKeyRotation : 0) | (key.hasScale ? kKeyScale : 0) |
                (key.hasPosition ? kKeyPosition : 0));
            if (key.hasRotation) {
                F32(key.rotation.x);
                F32(key.rotation.y);
                F32(key.rotation.z);
                F32(key.rotation.s);
            }
            if (key.hasScale)
                for (float v : key.scale)
                    F32(v);
            if (key.hasPosition)
                for (float v : key.position)
                    F32(v);
        }
    }

    std::vector<const CTexture*> m_textures;
    std::vector<std::uint8_t> m_out;
};

} // namespace

bool OMBRELLoadKMB(CMesh* root, const std::uint8_t* data, std::size_t size, KmbAppData* appData) {
    // The image is read under a private root, so a failed load leaves the mesh as it was. Children are
    // put at the head of the root's list one by one, so they end up in reverse file order.
    CMesh staging;
    KmbLoad load(data, size);
    KmbAppData kept;
    if (!load.Run(staging, appData ? &kept : nullptr))
        return false;
    std::vector<CEntity*> children;
    for (CEntity* child = staging.GetFirstChild(); child; child = child->GetNextSibling())
        children.push_back(child);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        root->AddChild(*it);
    if (appData)
        *appData = std::move(kept);
    return true;
}

bool LoadKMBFile(const char* fileName, CMesh* root, KmbAppData* appData, const char* reporter) {
    const CFatalErrorFile reading(fileName ? fileName : "");
    const plat::fs::ReadResult file = plat::fs::ReadWholeFile(fileName ? fileName : "");
    if (file.error != plat::fs::Error::kNone) {
        EngineLog(reporter, "Failed to open KMB: %s", fileName ? fileName : "");
        return false;
    }
    return OMBRELLoadKMB(root, file.bytes.data(), file.bytes.size(), appData);
}

std::vector<std::uint8_t> SaveKMBImage(const CEntity* root, const KmbAppData* appData) {
    return KmbSave().Image(root, appData);
}

bool WriteKMB(const char* fileName, const CEntity* root) {
    return WriteKMBWithData(fileName, root, nullptr);
}

bool WriteKMBWithData(const char* fileName, const CEntity* root, const KmbAppData* appData) {
    const std::vector<std::uint8_t> image = SaveKMBImage(root, appData);
    return plat::fs::WriteWholeFile(fileName ? fileName : "", image) == plat::fs::Error::kNone;
}

} // namespace zentrix
