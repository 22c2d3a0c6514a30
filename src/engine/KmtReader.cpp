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
#include <initializer_list>
#include <memory>
#include <numeric>
#include <span>
#include <string>
#include <string_view>
#include <variant>
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

    using Target = std::variant<float*, int*>;

    /// Reads a format of blanks, literal characters, "%f" and "%d" as the C library's scanf does: it stops
    /// at the first conversion or character that does not match and returns the number of values read.
    /// White space may come before a literal character even where the format has no blank.
    int Scan(std::string_view format, std::initializer_list<Target> targets) {
        const Target* target = targets.begin();
        int read = 0;
        for (std::size_t i = 0; i < format.size(); ++i) {
            const char c = format[i];
            if (c == ' ') {
                SkipSpace();
            } else if (c == '%' && i + 1 < format.size() && target != targets.end()) {
                const bool ok =
                    format[++i] == 'f' ? Float(*std::get<float*>(*target)) : Int(*std::get<int*>(*target));
                if (!ok)
                    return read;
                ++target;
                ++read;
            } else if (!Literal(c)) {
                return read;
            }
        }
        return read;
    }

    /// Moves to the end, where every read fails.
    void SkipToEnd() { m_pos = m_size; }

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

    /// Reads the whole file into meshes below staging. A block or list ends at the first item that
    /// does not match and the file is read on from there, so a file that drifts from the format keeps
    /// what could be read. False only for vertex colours before the vertices, when the fatal handler
    /// returns. The objects that animations name are looked up as target's whole tree would hold them
    /// (FindNode).
    bool Run(CMesh& staging, CMesh& target) {
        m_root = &staging;
        m_target = &target;
        std::string token;
        while (m_in.Token(token)) {
            if (token == "material")
                MaterialBlock();
            else if (token == "object")
                ObjectBlock(&staging, 1);
        }
        if (!m_drift.empty())
            EngineLog("KMTLoad", "%s: %s; what could be read is kept\n", m_fileName.c_str(), m_drift.c_str());
        return !m_failed;
    }

    /// Where the file first left the format ("" when it never did).
    const std::string& Drift() const { return m_drift; }

private:
    // Notes the first place where the file leaves the format.
    void NoteDrift(const char* what) {
        if (m_drift.empty())
            m_drift = "byte " + std::to_string(m_in.Position()) + ": " + what;
    }
    void Expect(char c, const char* what) {
        if (!m_in.Literal(c))
            NoteDrift(what);
    }
    std::string QuotedName(const char* what) {
        std::string name;
        if (!m_in.Quoted(name))
            NoteDrift(what);
        return name;
    }

    const Material* FindMaterial(const std::string& name) const {
        for (const Material& material : m_materials)
            if (material.name == name)
                return &material;
        return m_materials.empty() ? nullptr : &m_materials.front();
    }

    void MaterialBlock() {
        // A name that cannot be read means the end of the file: the material is added unnamed.
        const std::string name = QuotedName("a material without its name");
        for (const Material& material : m_materials)
            if (material.name == name)
                EngineLog("NewKMTMaterial", "Repeat material [%s] - Mangled textures!", name.c_str());
        Material material;
        material.name = name;
        if (name.find('&') != std::string::npos)
            material.flags |= 1;
        if (name.find('%') != std::string::npos)
            material.flags |= 2;
        Expect('{', "a material without its block");
        std::string token;
        float v[4];
        bool closed = false;
        while (!closed && m_in.Token(token)) {
            if (token == "texture") {
                std::string textureName;
                if (m_in.Quoted(textureName))
                    material.texture = LoadMeshTexture(textureName.c_str());
                else
                    NoteDrift("a texture without its name");
            } else if (token == "colour") {
                if (m_in.Scan(" { %f , %f , %f , %f } ", {&v[0], &v[1], &v[2], &v[3]}) != 4)
                    NoteDrift("a colour of other than four values");
            } else if (token == "specular") {
                if (m_in.Scan(" { %f , %f } ", {&v[0], &v[1]}) != 2)
                    NoteDrift("a specular of other than two values");
            } else {
                closed = EndsBlock(token);
            }
        }
        if (!closed)
            NoteDrift("a material block not closed");
        m_materials.push_back(std::move(material));
    }

    // A token that is no keyword of the block: "}" ends it, anything else is passed over.
    bool EndsBlock(const std::string& token) {
        if (token.find('}') != std::string::npos)
            return true;
        NoteDrift("a word the block does not know");
        return false;
    }

    void ObjectBlock(CEntity* parent, int depth) {
        if (depth > kMaxObjectDepth) {
            NoteDrift("objects nested too deeply; the rest of the file is not read");
            m_in.SkipToEnd();
            return;
        }
        const std::string name = QuotedName("an object without its name");
        auto* mesh = new CMesh(parent);
        mesh->SetName(name.c_str());
        Expect('{', "an object without its block");
        std::string token;
        while (m_in.Token(token)) {
            if (token == "matrix") {
                float m[16];
                const int read = m_in.Scan(" { %f , %f , %f , %f , %f , %f , %f , %f , ",
                                           {&m[0], &m[1], &m[2], &m[3], &m[4], &m[5], &m[6], &m[7]});
                // Only a whole matrix is applied: the rest of a partial one would be made up.
                if (read == 8 &&
                    m_in.Scan(" %f , %f , %f , %f , %f , %f , %f , %f , } ",
                              {&m[8], &m[9], &m[10], &m[11], &m[12], &m[13], &m[14], &m[15]}) == 8)
                    mesh->SetMatrix(m);
                else
                    NoteDrift("a matrix of fewer than 16 values");
            } else if (token == "mesh") {
                MeshBlock(*mesh);
            } else if (token == "object") {
                ObjectBlock(mesh, depth + 1);
            } else if (token == "animation") {
                AnimationBlock();
            } else if (EndsBlock(token)) {
                return;
            }
        }
        NoteDrift("an object block not closed");
    }

    /// " { " items " } ": readItem reads one item and says whether it matched; the list ends at the first
    /// that does not. Every item that matches has consumed some of the file, so the list ends.
    template <typename ReadItem> void ItemList(ReadItem readItem) {
        Expect('{', "a list without its opening brace");
        while (readItem()) {
        }
        Expect('}', "a list that ends at an item that does not match");
    }

    struct MeshData {
        std::vector<MeshVertex> vertices;
        bool animated = false;
        int frameCount = 0;
        std::vector<std::uint32_t> markers;
        std::vector<std::uint32_t> markerStarts; // vertices read before each marker
        bool hasSmoothing = false;               // a smoothing_groups chunk was given
        std::vector<std::uint32_t> smoothing;
        std::vector<float> coords;
        bool perFace = false;
        std::vector<std::uint8_t> colours;
        std::vector<std::uint32_t> indices; // three per triangle
        bool hasMaterial = false;
        const Material* material = nullptr;
        std::vector<const Material*> faceMaterials;
    };

    void MeshBlock(CMesh& mesh) {
        Expect('{', "a mesh without its block");
        MeshData d;
        std::string token;
        bool closed = false;
        while (!closed && m_in.Token(token)) {
            if (token == "vertices") {
                ItemList([&] {
                    float p[3];
                    if (m_in.Scan(" %f , %f , %f , ", {&p[0], &p[1], &p[2]}) != 3)
                        return false;
                    d.vertices.push_back({p[0], p[1], p[2], 0.0f, 0.0f, 1.0f});
                    return true;
                });
            } else if (token == "anim_vertices") {
                AnimVertices(d);
            } else if (token == "smoothing_groups") {
                d.hasSmoothing = true;
                ItemList([&] {
                    int group;
                    if (m_in.Scan(" %d , ", {&group}) != 1)
                        return false;
                    d.smoothing.push_back(static_cast<std::uint32_t>(group));
                    return true;
                });
            } else if (token == "normals") {
                ItemList([&] {
                    float n[3];
                    return m_in.Scan(" %f , %f , %f , ", {&n[0], &n[1], &n[2]}) == 3;
                });
            } else if (token == "texture_coordinates" || token == "face_coordinates") {
                if (token == "face_coordinates")
                    d.perFace = true;
                ItemList([&] {
                    float uv[2];
                    if (m_in.Scan(" %f , %f , ", {&uv[0], &uv[1]}) != 2)
                        return false;
                    d.coords.push_back(uv[0]);
                    d.coords.push_back(uv[1]);
                    return true;
                });
            } else if (token == "vertex_light") {
                if (d.vertices.empty()) {
                    char message[512];
                    std::snprintf(message, sizeof message,
                                  "Invalid KMT %s\nvertex lighting chunk before vertex definition\n",
                                  m_fileName.c_str());
                    if (!g_fatalHandler)
                        FatalError("%s", message);
                    g_fatalHandler(message);
                    m_failed = true;
                    m_in.SkipToEnd();
                    return;
                }
                ItemList([&] {
                    float c[3];
                    if (m_in.Scan(" %f , %f , %f , ", {&c[0], &c[1], &c[2]}) != 3)
                        return false;
                    for (float v : c)
                        d.colours.push_back(ColourByte(v));
                    return true;
                });
            } else if (token == "faces") {
                Faces(d);
            } else if (token == "material") {
                std::string name;
                if (m_in.Quoted(name)) {
                    d.hasMaterial = true;
                    d.material = FindMaterial(name);
                } else {
                    NoteDrift("a material chunk without its name");
                }
            } else if (token == "face_materials") {
                Expect('{', "face materials without their block");
                bool listClosed = false;
                while (!listClosed && m_in.Token(token)) {
                    listClosed = token.find('}') != std::string::npos;
                    if (listClosed)
                        break;
                    const std::size_t open = token.find('"');
                    const std::size_t close = open == std::string::npos ? open : token.find('"', open + 1);
                    const std::string name =
                        close == std::string::npos ? std::string() : token.substr(open + 1, close - open - 1);
                    d.faceMaterials.push_back(FindMaterial(name));
                }
                if (!listClosed)
                    NoteDrift("face materials not closed");
            } else {
                closed = EndsBlock(token);
            }
        }
        if (!closed)
            NoteDrift("a mesh block not closed");
        BuildMesh(mesh, d);
    }

    void AnimVertices(MeshData& d) {
        // Without a frame count the animation is dropped when the mesh is built.
        int frames = 0;
        if (m_in.Scan(" %d ", {&frames}) != 1)
            NoteDrift("vertex animation without its frame count");
        d.animated = true;
        d.frameCount = frames;
        ItemList([&] {
            float n;
            std::string token;
            if (m_in.Scan(" %f ", {&n}) != 1 || !m_in.Token(token))
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
            // The token was the comma after x; y and z follow.
            float y, z;
            if (m_in.Scan(" %f , %f , ", {&y, &z}) != 2)
                return false;
            d.vertices.push_back({n, y, z, 0.0f, 0.0f, 1.0f});
            return true;
        });
    }

    void Faces(MeshData& d) {
        Expect('{', "faces without their block");
        for (;;) {
            // A count that cannot be read ends the list as a count of 0 does.
            int n = 0;
            if (m_in.Scan(" %d ", {&n}) != 1) {
                NoteDrift("a polygon without its corner count");
                break;
            }
            if (n == 0)
                break;
            m_in.Scan(" , ", {});
            std::uint32_t corners[3] = {0, 0, 0};
            int i = 0;
            for (; i < n; ++i) {
                int index, unused;
                if (m_in.Scan(" %d , ", {&index}) != 1)
                    break;
                m_in.Scan(" %d , ", {&unused});
                if (i < 3)
                    corners[i] = index < 0 ? UINT32_MAX : static_cast<std::uint32_t>(index);
            }
            if (i < n) {
                NoteDrift("a polygon cut short");
                break; // the list ends without a face for it
            }
            if (n != 3) {
                EngineLog("KMTLoad", "%s: a polygon of %d corners skipped\n", m_fileName.c_str(), n);
                // The polygon still takes its place, so per-face lists stay in step.
                corners[0] = corners[1] = corners[2] = UINT32_MAX;
            }
            d.indices.insert(d.indices.end(), corners, corners + 3);
        }
        Expect('}', "faces not closed");
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
        // Groups only where the file gives them: a mesh without the chunk has none.
        auto& groups = mesh.SmoothingGroups();
        groups.clear();
        if (m_keepSmoothingGroups && d.hasSmoothing)
            for (std::uint32_t p : kept)
                groups.push_back(p < d.smoothing.size() ? d.smoothing[p] : 0);
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

    // The node an animation names, searched as the root's whole tree would be: the root itself, then
    // the objects of this file (put at the head of its children), then the children it had before.
    CMesh* FindNode(const std::string& name) const {
        CEntity* found = nullptr;
        if (m_target->GetName() && name == m_target->GetName())
            found = m_target;
        if (!found)
            found = m_root->FindFrame(name.c_str());
        for (CEntity* child = m_target->GetFirstChild(); !found && child; child = child->GetNextSibling())
            found = child->FindFrame(name.c_str());
        return dynamic_cast<CMesh*>(found);
    }

    void AnimationBlock() {
        const std::string name = QuotedName("an animation without its name");
        auto tracks = std::make_unique<MeshKeyTracks>();
        tracks->lastFrame = 0;
        CMesh* node = nullptr;
        bool named = false;
        Expect('{', "an animation without its block");
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
        bool closed = false;
        while (!closed && m_in.Token(token)) {
            if (token == "object_name") {
                std::string objectName;
                if (!m_in.Quoted(objectName)) {
                    NoteDrift("an object_name without its name");
                    continue;
                }
                named = true;
                node = FindNode(objectName);
                if (node)
                    node->GetLocalMatrix(tracks->base);
            } else if (token == "rotate_keys") {
                ItemList([&] {
                    int frame;
                    float q[4];
                    if (m_in.Scan(" %d , %f , %f , %f , %f , ", {&frame, &q[0], &q[1], &q[2], &q[3]}) != 5)
                        return false;
                    std::uint32_t f;
                    if (frameOf(frame, f))
                        AddRotationKey(*tracks, f, Quaternion{q[0], q[1], q[2], q[3]});
                    return true;
                });
            } else if (token == "scale_keys" || token == "position_keys") {
                const bool scale = token == "scale_keys";
                ItemList([&] {
                    int frame;
                    float v[3];
                    if (m_in.Scan(" %d , %f , %f , %f , ", {&frame, &v[0], &v[1], &v[2]}) != 4)
                        return false;
                    std::uint32_t f;
                    if (frameOf(frame, f))
                        scale ? AddScaleKey(*tracks, f, v) : AddPositionKey(*tracks, f, v);
                    return true;
                });
            } else {
                closed = EndsBlock(token);
            }
        }
        if (!closed)
            NoteDrift("an animation block not closed");
        tracks->lastFrame = std::max<std::uint32_t>(lastFrame, 1);
        if (!node) {
            EngineLog("KMTLoad",
                      named ? "%s: animation [%s] names no object; dropped\n"
                            : "%s: animation [%s] without object_name; dropped\n",
                      m_fileName.c_str(), name.c_str());
            return;
        }
        // Given to the node once the whole file has been read, so a failed load changes no node the
        // root already had. Without keys, the node's tracks are cleared.
        if (tracks->keys.empty())
            tracks.reset();
        m_animations.emplace_back(node, std::move(tracks));
    }

public:
    /// Gives each animation's key tracks to its node, in file order.
    void AttachAnimations() {
        for (auto& [node, tracks] : m_animations) {
            if (tracks)
                node->SetKeyTracks(std::move(tracks));
            else
                node->ClearKeyTracks();
        }
        m_animations.clear();
    }

private:
    Scanner m_in;
    std::string m_fileName;
    bool m_keepSmoothingGroups;
    CMesh* m_root = nullptr;   ///< the staging root the file's objects are made under
    CMesh* m_target = nullptr; ///< the root they go to
    bool m_failed = false;
    std::string m_drift;
    std::vector<Material> m_materials;
    std::vector<std::pair<CMesh*, std::unique_ptr<MeshKeyTracks>>> m_animations;
};

} // namespace

void SetKmtFatalHandler(KmtFatalHandler handler) {
    g_fatalHandler = handler;
}

bool KMTLoadFromMemory(const std::uint8_t* data, std::size_t size, const char* fileName, CMesh* root,
                       bool keepSmoothingGroups, std::string* drift) {
    // The file is read under a private root, so a failed load leaves the mesh as it was.
    CMesh staging;
    KmtLoad load(data, size, fileName, keepSmoothingGroups);
    const bool loaded = load.Run(staging, *root);
    if (drift)
        *drift = load.Drift();
    if (!loaded)
        return false;
    load.AttachAnimations();
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
