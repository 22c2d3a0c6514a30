#include "engine/KmtReader.h"

#include "engine/EngineLog.h"
#include "engine/KmbFile.h"
#include "engine/Mesh.h"
#include "engine/MeshTextureAccess.h"
#include "foundation/base/FatalError.h"
#include "foundation/math/EngineMath.h"
#include "platform/fs/FileSystem.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>
#include <span>
#include <string>
#include <vector>

namespace zentrix {

namespace {

KmtFatalHandler g_fatalHandler = nullptr;

/// Objects may nest; deeper files are refused rather than read by unbounded recursion.
constexpr int kMaxObjectDepth = 64;
/// Frames a vertex animation may have (one table entry each).
constexpr int kMaxAnimationFrames = 65536;

/// Formatted reading over the file's bytes with the rules of the C library's scanf: a blank in a format
/// skips any white space, a token runs to the next white space, numbers are read as scanf reads them.
class Scanner {
public:
    Scanner(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    void SkipSpace() {
        while (m_pos < m_size && std::isspace(m_data[m_pos]))
            ++m_pos;
    }

    /// " %s": false at the end of the data.
    bool Token(std::string& out) {
        SkipSpace();
        const std::size_t start = m_pos;
        while (m_pos < m_size && !std::isspace(m_data[m_pos]))
            ++m_pos;
        out.assign(reinterpret_cast<const char*>(m_data) + start, m_pos - start);
        return m_pos > start;
    }

    /// " c": white space, then the character itself (left unread when it is another).
    bool Literal(char c) {
        SkipSpace();
        if (m_pos < m_size && m_data[m_pos] == static_cast<std::uint8_t>(c)) {
            ++m_pos;
            return true;
        }
        return false;
    }

    /// " %f".
    bool Float(float& out) {
        SkipSpace();
        char text[80];
        std::size_t n = 0;
        while (m_pos + n < m_size && n + 1 < sizeof text) {
            const char c = static_cast<char>(m_data[m_pos + n]);
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '+' && c != '-')
                break;
            text[n++] = c;
        }
        text[n] = '\0';
        char* end = nullptr;
        out = std::strtof(text, &end);
        if (end == text)
            return false;
        m_pos += static_cast<std::size_t>(end - text);
        return true;
    }

    /// " %d"; values beyond the int range saturate.
    bool Int(int& out) {
        SkipSpace();
        std::size_t p = m_pos;
        bool negative = false;
        if (p < m_size && (m_data[p] == '+' || m_data[p] == '-'))
            negative = m_data[p++] == '-';
        const std::size_t digits = p;
        long long value = 0;
        while (p < m_size && std::isdigit(m_data[p])) {
            value = std::min<long long>(value * 10 + (m_data[p] - '0'), 1LL << 32);
            ++p;
        }
        if (p == digits)
            return false;
        m_pos = p;
        value = negative ? -value : value;
        out = static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
        return true;
    }

    /// Skips past the next double quote and copies up to the following one; false when either is
    /// missing.
    bool Quoted(std::string& out) {
        while (m_pos < m_size && m_data[m_pos] != '"')
            ++m_pos;
        if (m_pos >= m_size)
            return false;
        const std::size_t start = ++m_pos;
        while (m_pos < m_size && m_data[m_pos] != '"')
            ++m_pos;
        if (m_pos >= m_size)
            return false;
        out.assign(reinterpret_cast<const char*>(m_data) + start, m_pos - start);
        ++m_pos;
        return true;
    }

    /// Reads floats separated by the format's commas (" %f , %f , ... ,"); with trailing, the last
    /// value is followed by a comma too.
    bool Floats(std::span<float> out, bool trailing = true) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (!Float(out[i]))
                return false;
            if ((i + 1 < out.size() || trailing) && !Literal(','))
                return false;
        }
        return true;
    }

    std::size_t Position() const { return m_pos; }
    void Seek(std::size_t pos) { m_pos = pos; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

struct Material {
    std::string name;
    CTexture* texture = nullptr;
    std::uint32_t flags = 0;
};

/// The low byte of a colour value truncated to an integer; values no integer holds give 0.
std::uint8_t ColourByte(float value) {
    if (!std::isfinite(value) || std::fabs(value) >= 2147483648.0f)
        return 0;
    return static_cast<std::uint8_t>(static_cast<std::int32_t>(value) & 0xFF);
}

/// One load of one file.
class KmtLoad {
public:
    KmtLoad(const std::uint8_t* data, std::size_t size, const char* fileName, bool keepSmoothingGroups)
        : m_in(data, size), m_fileName(fileName ? fileName : ""), m_keepSmoothingGroups(keepSmoothingGroups) {
    }

    /// Reads the whole file into meshes below staging; false (logged) on any failure.
    bool Run(CMesh& staging) {
        m_root = &staging;
        std::string token;
        while (m_in.Token(token)) {
            if (token == "material") {
                if (!MaterialBlock())
                    return false;
            } else if (token == "object") {
                if (!ObjectBlock(&staging, 1))
                    return false;
            }
        }
        return true;
    }

private:
    bool Fail(const char* what) {
        EngineLog("KMTLoad", "Invalid KMT %s: %s\n", m_fileName.c_str(), what);
        return false;
    }

    const Material* FindMaterial(const std::string& name) const {
        for (const Material& material : m_materials)
            if (material.name == name)
                return &material;
        return m_materials.empty() ? nullptr : &m_materials.front();
    }

    bool MaterialBlock() {
        std::string name;
        if (!m_in.Quoted(name))
            return Fail("material without a name");
        for (const Material& material : m_materials)
            if (material.name == name)
                EngineLog("NewKMTMaterial", "Repeat material [%s] - Mangled textures!", name.c_str());
        Material material;
        material.name = name;
        if (name.find('&') != std::string::npos)
            material.flags |= 1;
        if (name.find('%') != std::string::npos)
            material.flags |= 2;
        if (!m_in.Literal('{'))
            return Fail("material without a block");
        std::string token;
        std::array<float, 4> values;
        for (;;) {
            if (!m_in.Token(token))
                return Fail("material block not closed");
            if (token == "texture") {
                std::string textureName;
                if (!m_in.Quoted(textureName))
                    return Fail("texture without a name");
                material.texture = LoadMeshTexture(textureName.c_str());
            } else if (token == "colour") {
                if (!m_in.Literal('{') || !m_in.Floats(values, false) || !m_in.Literal('}'))
                    return Fail("bad colour");
            } else if (token == "specular") {
                if (!m_in.Literal('{') || !m_in.Floats(std::span(values).first(2), false) ||
                    !m_in.Literal('}'))
                    return Fail("bad specular");
            } else if (token.find('}') != std::string::npos) {
                break;
            }
        }
        m_materials.push_back(std::move(material));
        return true;
    }

    bool ObjectBlock(CEntity* parent, int depth) {
        if (depth > kMaxObjectDepth)
            return Fail("objects nested too deeply");
        std::string name;
        if (!m_in.Quoted(name))
            return Fail("object without a name");
        auto* mesh = new CMesh(parent);
        mesh->SetName(name.c_str());
        if (!m_in.Literal('{'))
            return Fail("object without a block");
        std::string token;
        for (;;) {
            if (!m_in.Token(token))
                return Fail("object block not closed");
            if (token == "matrix") {
                std::array<float, 16> m;
                if (!m_in.Literal('{') || !m_in.Floats(m) || !m_in.Literal('}'))
                    return Fail("bad matrix");
                mesh->SetMatrix(m.data());
            } else if (token == "mesh") {
                if (!MeshBlock(*mesh))
                    return false;
            } else if (token == "object") {
                if (!ObjectBlock(mesh, depth + 1))
                    return false;
            } else if (token == "animation") {
                if (!AnimationBlock())
                    return false;
            } else if (token.find('}') != std::string::npos) {
                return true;
            }
        }
    }

    /// Reads " { " items " } " where each item is read by the function; the list ends at the first item
    /// that does not match.
    template <typename ReadItem> bool ItemList(ReadItem readItem, const char* what) {
        if (!m_in.Literal('{'))
            return Fail(what);
        while (readItem()) {
        }
        if (!m_in.Literal('}'))
            return Fail(what);
        return true;
    }

    struct MeshData {
        std::vector<MeshVertex> vertices;
        bool animated = false;
        int frameCount = 0;
        std::vector<std::uint32_t> markers;
        std::vector<std::uint32_t> markerStarts; // vertices read before each marker
        std::vector<std::uint32_t> smoothing;
        std::vector<float> coords;
        bool perFace = false;
        std::vector<std::uint8_t> colours;
        std::vector<std::uint32_t> indices; // three per triangle
        bool hasMaterial = false;
        const Material* material = nullptr;
        std::vector<const Material*> faceMaterials;
    };

    bool MeshBlock(CMesh& mesh) {
        if (!m_in.Literal('{'))
            return Fail("mesh without a block");
        MeshData d;
        std::string token;
        for (;;) {
            if (!m_in.Token(token))
                return Fail("mesh block not closed");
            bool ok = true;
            if (token == "vertices") {
                ok = ItemList(
                    [&] {
                        std::array<float, 3> p;
                        if (!m_in.Floats(p))
                            return false;
                        d.vertices.push_back({p[0], p[1], p[2], 0.0f, 0.0f, 1.0f});
                        return true;
                    },
                    "bad vertices");
            } else if (token == "anim_vertices") {
                ok = AnimVertices(d);
            } else if (token == "smoothing_groups") {
                ok = ItemList(
                    [&] {
                        int group;
                        if (!m_in.Int(group) || !m_in.Literal(','))
                            return false;
                        d.smoothing.push_back(static_cast<std::uint32_t>(group));
                        return true;
                    },
                    "bad smoothing groups");
            } else if (token == "normals") {
                ok = ItemList(
                    [&] {
                        std::array<float, 3> n;
                        return m_in.Floats(n);
                    },
                    "bad normals");
            } else if (token == "texture_coordinates" || token == "face_coordinates") {
                if (token == "face_coordinates")
                    d.perFace = true;
                ok = ItemList(
                    [&] {
                        std::array<float, 2> uv;
                        if (!m_in.Floats(uv))
                            return false;
                        d.coords.push_back(uv[0]);
                        d.coords.push_back(uv[1]);
                        return true;
                    },
                    "bad texture coordinates");
            } else if (token == "vertex_light") {
                if (d.vertices.empty()) {
                    char message[512];
                    std::snprintf(message, sizeof message,
                                  "Invalid KMT %s\nvertex lighting chunk before vertex definition\n",
                                  m_fileName.c_str());
                    if (!g_fatalHandler)
                        FatalError("%s", message);
                    g_fatalHandler(message);
                    return false;
                }
                ok = ItemList(
                    [&] {
                        std::array<float, 3> c;
                        if (!m_in.Floats(c))
                            return false;
                        for (float v : c)
                            d.colours.push_back(ColourByte(v));
                        return true;
                    },
                    "bad vertex colours");
            } else if (token == "faces") {
                ok = Faces(d);
            } else if (token == "material") {
                std::string name;
                if (!m_in.Quoted(name))
                    return Fail("material chunk without a name");
                d.hasMaterial = true;
                d.material = FindMaterial(name);
            } else if (token == "face_materials") {
                if (!m_in.Literal('{'))
                    return Fail("bad face materials");
                for (;;) {
                    if (!m_in.Token(token))
                        return Fail("face materials not closed");
                    if (token.find('}') != std::string::npos)
                        break;
                    const std::size_t open = token.find('"');
                    const std::size_t close = open == std::string::npos ? open : token.find('"', open + 1);
                    const std::string name =
                        close == std::string::npos ? std::string() : token.substr(open + 1, close - open - 1);
                    d.faceMaterials.push_back(FindMaterial(name));
                }
            } else if (token.find('}') != std::string::npos) {
                break;
            }
            if (!ok)
                return false;
        }
        BuildMesh(mesh, d);
        return true;
    }

    bool AnimVertices(MeshData& d) {
        int frames;
        if (!m_in.Int(frames))
            return Fail("bad anim_vertices");
        d.animated = true;
        d.frameCount = frames;
        return ItemList(
            [&] {
                float n;
                std::string token;
                if (!m_in.Float(n) || !m_in.Token(token))
                    return false;
                if (token[0] == ':') {
                    // A marker: the vertices that follow are the set of frame n.
                    const auto frame = std::isfinite(n) && n >= 0.0f && n < 4294967296.0f
                                           ? static_cast<std::uint32_t>(n)
                                           : UINT32_MAX;
                    d.markers.push_back(frame);
                    d.markerStarts.push_back(static_cast<std::uint32_t>(d.vertices.size()));
                    return true;
                }
                std::array<float, 2> yz;
                // The token read the comma after x; y and z follow.
                if (token != "," || !m_in.Floats(yz))
                    return false;
                d.vertices.push_back({n, yz[0], yz[1], 0.0f, 0.0f, 1.0f});
                return true;
            },
            "bad anim_vertices");
    }

    bool Faces(MeshData& d) {
        if (!m_in.Literal('{'))
            return Fail("faces without a block");
        for (;;) {
            int n;
            if (!m_in.Int(n))
                return Fail("bad polygon");
            if (n == 0)
                break;
            if (!m_in.Literal(','))
                return Fail("bad polygon");
            std::uint32_t corners[3] = {0, 0, 0};
            for (int i = 0; i < n; ++i) {
                int index, unused;
                if (!m_in.Int(index) || !m_in.Literal(',') || !m_in.Int(unused) || !m_in.Literal(','))
                    return Fail("bad polygon");
                if (i < 3)
                    corners[i] = index < 0 ? UINT32_MAX : static_cast<std::uint32_t>(index);
            }
            if (n != 3) {
                EngineLog("KMTLoad", "%s: a polygon of %d corners skipped\n", m_fileName.c_str(), n);
                // The polygon still takes its place, so per-face lists stay in step.
                corners[0] = corners[1] = corners[2] = UINT32_MAX;
            }
            d.indices.insert(d.indices.end(), corners, corners + 3);
        }
        if (!m_in.Literal('}'))
            return Fail("faces block not closed");
        return true;
    }

    // A mesh from what its block gave, step by step.
    void BuildMesh(CMesh& mesh, MeshData& d) {
        const auto total = static_cast<std::uint32_t>(d.vertices.size());
        std::uint32_t perSet = total;
        std::unique_ptr<MeshVertexAnimation> animation = VertexAnimation(mesh, d, perSet);
        const std::vector<std::uint32_t> kept = KeptPolygons(mesh, d, perSet);
        mesh.SetVertexCount(total);
        std::copy(d.vertices.begin(), d.vertices.end(), mesh.GetVertices());
        FillFaces(mesh, d, kept);
        ComputeVertexNormals(mesh, perSet);
        if (!d.colours.empty()) {
            d.colours.resize(static_cast<std::size_t>(total) * 3, 0);
            mesh.SetColourCount(total);
            std::copy(d.colours.begin(), d.colours.end(), mesh.GetColours());
        }
        if (m_keepSmoothingGroups) {
            auto& groups = mesh.SmoothingGroups();
            groups.clear();
            for (std::uint32_t p : kept)
                groups.push_back(p < d.smoothing.size() ? d.smoothing[p] : 0);
        }
        SortFacesByTexture(mesh);
        if (animation)
            mesh.SetVertexAnimation(std::move(animation), perSet);
    }

    // The vertex animation the block describes, with `perSet` set to the vertices of one set; null
    // (logged, every vertex one set) unless the markers split the vertices into even sets and the frame
    // count is one the cache can hold.
    std::unique_ptr<MeshVertexAnimation> VertexAnimation(const CMesh& mesh, const MeshData& d,
                                                         std::uint32_t& perSet) {
        if (!d.animated)
            return nullptr;
        const auto total = static_cast<std::uint32_t>(d.vertices.size());
        const auto markerCount = static_cast<std::uint32_t>(d.markers.size());
        bool evenSets = markerCount > 0 && total % markerCount == 0;
        for (std::uint32_t k = 0; evenSets && k < markerCount; ++k)
            evenSets = d.markerStarts[k] == k * (total / markerCount);
        if (d.frameCount <= 0 || d.frameCount > kMaxAnimationFrames || !evenSets) {
            EngineLog("KMTLoad", "%s: vertex animation of %s dropped\n", m_fileName.c_str(), mesh.GetName());
            return nullptr;
        }
        perSet = total / markerCount;
        auto animation = std::make_unique<MeshVertexAnimation>();
        animation->frameCount = static_cast<std::uint32_t>(d.frameCount);
        animation->totalVertices = total;
        animation->markers = d.markers;
        animation->frameSets.assign(animation->frameCount, -1);
        for (std::uint32_t k = 0; k < markerCount; ++k)
            if (d.markers[k] < animation->frameCount)
                animation->frameSets[d.markers[k]] = static_cast<std::int32_t>(k);
        // A frame without a marker shows the set of the frame before it; frames before the first marker
        // show the first set.
        std::int32_t shown = 0;
        for (auto& set : animation->frameSets)
            set = set >= 0 ? (shown = set) : shown;
        return animation;
    }

    // The polygons that become faces: those whose corners all name vertices of one set. The others are
    // dropped and logged (a polygon of other than three corners was logged as it was read); per-face
    // lists still follow the polygons.
    std::vector<std::uint32_t> KeptPolygons(const CMesh& mesh, const MeshData& d, std::uint32_t perSet) {
        const auto polygons = static_cast<std::uint32_t>(d.indices.size() / 3);
        std::vector<std::uint32_t> kept;
        for (std::uint32_t p = 0; p < polygons; ++p) {
            const std::uint32_t* c = &d.indices[p * 3];
            if (c[0] < perSet && c[1] < perSet && c[2] < perSet)
                kept.push_back(p);
            else if (c[0] != UINT32_MAX || c[1] != UINT32_MAX || c[2] != UINT32_MAX)
                EngineLog("KMTLoad", "%s: a face of %s names a missing vertex\n", m_fileName.c_str(),
                          mesh.GetName());
        }
        return kept;
    }

    // One face per kept polygon: corners, the texture and flags of the mesh's material or the
    // polygon's own, and texture coordinates per vertex or per face corner (0 where the list is short).
    // A mesh without any texture is shown.
    static void FillFaces(CMesh& mesh, const MeshData& d, const std::vector<std::uint32_t>& kept) {
        const auto faceCount = static_cast<std::uint32_t>(kept.size());
        mesh.SetFaceCount(faceCount, 0);
        MeshFace* faces = mesh.GetFaces(0);
        bool anyTexture = false;
        for (std::uint32_t f = 0; f < faceCount; ++f) {
            const std::uint32_t p = kept[f];
            MeshFace& face = faces[f];
            face = MeshFace{};
            face.a = d.indices[p * 3];
            face.b = d.indices[p * 3 + 1];
            face.c = d.indices[p * 3 + 2];
            if (d.hasMaterial && d.material)
                face.texture = d.material->texture;
            if (p < d.faceMaterials.size()) {
                const Material* m = d.faceMaterials[p];
                if (!m) {
                    face.texture = nullptr;
                    face.flags = 0;
                } else if (m->texture) {
                    face.texture = m->texture;
                    face.flags = m->flags;
                }
            }
            anyTexture = anyTexture || face.texture;
            const std::array<std::uint32_t, 3> corners = FaceCorners(face);
            std::array<float, 6> uv{};
            for (std::size_t k = 0; k < 3; ++k) {
                const std::size_t at = d.perFace ? (static_cast<std::size_t>(p) * 3 + k) * 2
                                                 : static_cast<std::size_t>(corners[k]) * 2;
                uv[k * 2] = at + 1 < d.coords.size() ? d.coords[at] : 0.0f;
                uv[k * 2 + 1] = at + 1 < d.coords.size() ? d.coords[at + 1] : 0.0f;
            }
            SetFaceCoords(face, uv);
        }
        if (!anyTexture)
            mesh.SetHidden(false, false);
    }

    // Vertex normals: the mean of the normals of the faces at each vertex, for every set of `perSet`
    // vertices; a vertex of no face points up the z axis.
    static void ComputeVertexNormals(CMesh& mesh, std::uint32_t perSet) {
        const std::uint32_t total = mesh.GetVertexCount(), faceCount = mesh.GetFaceCount(0);
        const MeshFace* faces = mesh.GetFaces(0);
        MeshVertex* vertices = mesh.GetVertices();
        for (std::uint32_t set = 0; perSet && set < total / perSet; ++set) {
            MeshVertex* v = vertices + static_cast<std::size_t>(set) * perSet;
            std::vector<double> sum(static_cast<std::size_t>(perSet) * 3, 0.0);
            std::vector<std::uint32_t> uses(perSet, 0);
            for (std::uint32_t f = 0; f < faceCount; ++f) {
                const MeshFace& face = faces[f];
                const float pa[3] = {v[face.a].x, v[face.a].y, v[face.a].z};
                const float pb[3] = {v[face.b].x, v[face.b].y, v[face.b].z};
                const float pc[3] = {v[face.c].x, v[face.c].y, v[face.c].z};
                float cb[3], ab[3], n[3];
                SubtractVectors(pc, pb, cb);
                SubtractVectors(pa, pb, ab);
                CrossProduct(n, cb, ab);
                if (NormaliseVector(n) == 0.0f) {
                    n[0] = n[1] = 0.0f;
                    n[2] = 1.0f;
                }
                const std::uint32_t corners[3] = {face.a, face.b, face.c};
                for (int k = 0; k < 3; ++k) {
                    if ((k >= 1 && corners[k] == corners[0]) || (k == 2 && corners[2] == corners[1]))
                        continue;
                    for (int c = 0; c < 3; ++c)
                        sum[corners[k] * 3 + c] += n[c];
                    ++uses[corners[k]];
                }
            }
            for (std::uint32_t i = 0; i < perSet; ++i) {
                if (!uses[i]) {
                    v[i].nx = v[i].ny = 0.0f;
                    v[i].nz = 1.0f;
                    continue;
                }
                v[i].nx = static_cast<float>(sum[i * 3] / uses[i]);
                v[i].ny = static_cast<float>(sum[i * 3 + 1] / uses[i]);
                v[i].nz = static_cast<float>(sum[i * 3 + 2] / uses[i]);
            }
        }
    }

    // Faces grouped by texture in the order the textures were made (stable, so reproducible), their
    // smoothing groups with them.
    static void SortFacesByTexture(CMesh& mesh) {
        const std::uint32_t faceCount = mesh.GetFaceCount(0);
        MeshFace* faces = mesh.GetFaces(0);
        std::vector<std::uint32_t> order(faceCount);
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(), [faces](std::uint32_t x, std::uint32_t y) {
            return MeshTextureOrder(faces[x].texture) < MeshTextureOrder(faces[y].texture);
        });
        std::vector<MeshFace> sorted(faceCount);
        std::vector<std::uint32_t> sortedGroups(mesh.SmoothingGroups().size());
        for (std::uint32_t i = 0; i < faceCount; ++i) {
            sorted[i] = faces[order[i]];
            if (!sortedGroups.empty())
                sortedGroups[i] = mesh.SmoothingGroups()[order[i]];
        }
        std::copy(sorted.begin(), sorted.end(), faces);
        if (!sortedGroups.empty())
            mesh.SmoothingGroups() = std::move(sortedGroups);
    }

    bool AnimationBlock() {
        std::string name;
        if (!m_in.Quoted(name))
            return Fail("animation without a name");
        auto tracks = std::make_unique<MeshKeyTracks>();
        tracks->lastFrame = 0;
        CMesh* node = nullptr;
        bool named = false;
        if (!m_in.Literal('{'))
            return Fail("animation without a block");
        std::string token;
        std::uint32_t lastFrame = 0;
        auto frameOf = [&](int frame, std::uint32_t& out) {
            if (frame < 0)
                return false;
            if (static_cast<std::uint32_t>(frame) > MeshKeyTracks::kMaxLastFrame) {
                EngineLog("KMTLoad", "%s: key at frame %d ignored\n", m_fileName.c_str(), frame);
                return false;
            }
            out = static_cast<std::uint32_t>(frame);
            lastFrame = std::max(lastFrame, out);
            return true;
        };
        for (;;) {
            if (!m_in.Token(token))
                return Fail("animation block not closed");
            bool ok = true;
            if (token == "object_name") {
                std::string objectName;
                if (!m_in.Quoted(objectName))
                    return Fail("object_name without a name");
                named = true;
                node = dynamic_cast<CMesh*>(m_root->FindFrame(objectName.c_str()));
                if (node)
                    node->GetLocalMatrix(tracks->base);
            } else if (token == "rotate_keys") {
                ok = ItemList(
                    [&] {
                        int frame;
                        std::array<float, 4> q;
                        if (!m_in.Int(frame) || !m_in.Literal(',') || !m_in.Floats(q))
                            return false;
                        std::uint32_t f;
                        if (frameOf(frame, f))
                            AddRotationKey(*tracks, f, Quaternion{q[0], q[1], q[2], q[3]});
                        return true;
                    },
                    "bad rotate_keys");
            } else if (token == "scale_keys" || token == "position_keys") {
                const bool scale = token == "scale_keys";
                ok = ItemList(
                    [&] {
                        int frame;
                        std::array<float, 3> v;
                        if (!m_in.Int(frame) || !m_in.Literal(',') || !m_in.Floats(v))
                            return false;
                        std::uint32_t f;
                        if (frameOf(frame, f))
                            scale ? AddScaleKey(*tracks, f, v.data()) : AddPositionKey(*tracks, f, v.data());
                        return true;
                    },
                    "bad keys");
            } else if (token.find('}') != std::string::npos) {
                break;
            }
            if (!ok)
                return false;
        }
        tracks->lastFrame = std::max<std::uint32_t>(lastFrame, 1);
        if (!node) {
            EngineLog("KMTLoad",
                      named ? "%s: animation [%s] names no object; dropped\n"
                            : "%s: animation [%s] without object_name; dropped\n",
                      m_fileName.c_str(), name.c_str());
            return true;
        }
        if (tracks->keys.empty())
            node->ClearKeyTracks();
        else
            node->SetKeyTracks(std::move(tracks));
        return true;
    }

    Scanner m_in;
    std::string m_fileName;
    bool m_keepSmoothingGroups;
    CMesh* m_root = nullptr;
    std::vector<Material> m_materials;
};

} // namespace

void SetKmtFatalHandler(KmtFatalHandler handler) {
    g_fatalHandler = handler;
}

bool KMTLoadFromMemory(const std::uint8_t* data, std::size_t size, const char* fileName, CMesh* root,
                       bool keepSmoothingGroups) {
    // The file is read under a private root, so a failed load leaves the mesh as it was.
    CMesh staging;
    KmtLoad load(data, size, fileName, keepSmoothingGroups);
    if (!load.Run(staging))
        return false;
    std::vector<CEntity*> children;
    for (CEntity* child = staging.GetFirstChild(); child; child = child->GetNextSibling())
        children.push_back(child);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        root->AddChild(*it);
    return true;
}

bool KMTLoad(const char* fileName, CMesh* root, bool keepSmoothingGroups) {
    const plat::fs::ReadResult file = plat::fs::ReadWholeFile(fileName ? fileName : "");
    if (file.error != plat::fs::Error::kNone) {
        EngineLog("KMTLoad", "Could not find KMT:  %s\n", fileName ? fileName : "");
        return false;
    }
    return KMTLoadFromMemory(file.bytes.data(), file.bytes.size(), fileName, root, keepSmoothingGroups);
}

} // namespace zentrix
