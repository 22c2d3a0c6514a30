#include "engine/Mesh.h"
#include "engine/Frame.h"
#include "engine/MeshBuffer.h"
#include "engine/Quaternion.h"
#include "foundation/math/EngineMath.h"
#include "support/FakeMeshTextures.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace zentrix;

namespace {

constexpr float kPi = 3.14159265358979f;

/// A mesh of n vertices on a line and faces (0,1,2), (1,2,3), ... with coordinates from the vertex.
std::unique_ptr<CMesh> Strip(std::uint32_t vertices, std::uint32_t faces) {
    auto mesh = std::make_unique<CMesh>();
    mesh->SetVertexCount(vertices);
    for (std::uint32_t i = 0; i < vertices; ++i)
        mesh->GetVertices()[i] = {static_cast<float>(i), static_cast<float>(i % 2), 0.0f, 0.0f, 0.0f, 1.0f};
    mesh->SetFaceCount(faces, 0);
    for (std::uint32_t f = 0; f < faces; ++f)
        mesh->GetFaces(0)[f] = {f, f + 1, f + 2, nullptr, 0, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f};
    return mesh;
}

float Position(const CMesh& mesh, int axis) {
    float m[16];
    mesh.GetLocalMatrix(m);
    return m[12 + axis];
}

TEST(Quaternion, MatrixAndSlerpFollowTheEngineConventions) {
    const float a = 0.6f;
    float m[16];
    MatrixFromQuaternion(m, {std::cos(a / 2), 0.0f, 0.0f, std::sin(a / 2)});
    const float x[3] = {1.0f, 0.0f, 0.0f};
    float turned[3];
    TransformPoint(m, x, turned);
    EXPECT_NEAR(turned[0], std::cos(a), 1e-6f);
    EXPECT_NEAR(turned[1], -std::sin(a), 1e-6f);
    EXPECT_NEAR(turned[2], 0.0f, 1e-6f);

    struct Case {
        Quaternion from, to;
        float t;
        Quaternion expected;
    };
    const float h = std::sqrt(0.5f), q = std::cos(kPi / 8), s = std::sin(kPi / 8);
    const Case cases[] = {
        {{1, 0, 0, 0}, {h, h, 0, 0}, 0.5f, {q, s, 0, 0}},              // halfway along the arc
        {{1, 0, 0, 0}, {-h, -h, 0, 0}, 0.5f, {q, s, 0, 0}},            // the shorter way round
        {{1, 0, 0, 0}, {1, 0.0001f, 0, 0}, 0.5f, {1, 0.00005f, 0, 0}}, // linear when nearly equal
        {{1, 0, 0, 0}, {h, h, 0, 0}, 0.0f, {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const Quaternion r = QuaternionSlerp(c.from, c.to, c.t);
        EXPECT_NEAR(r.s, c.expected.s, 1e-6f);
        EXPECT_NEAR(r.x, c.expected.x, 1e-6f);
        EXPECT_NEAR(r.y, c.expected.y, 1e-6f);
        EXPECT_NEAR(r.z, c.expected.z, 1e-6f);
    }
}

TEST(MeshKeyTracks, FramesWrapAndChannelsInterpolate) {
    CMesh mesh;
    auto tracks = std::make_unique<MeshKeyTracks>();
    tracks->lastFrame = 9;
    for (std::uint32_t f : {0u, 9u}) {
        const float p[3] = {static_cast<float>(f) * 10.0f, 0.0f, 0.0f};
        AddPositionKey(*tracks, f, p);
    }
    const float twice[3] = {2.0f, 2.0f, 2.0f};
    AddScaleKey(*tracks, 3, twice);
    mesh.SetKeyTracks(std::move(tracks));

    struct Case {
        float frame;
        float x;
    };
    const Case cases[] = {{-1.0f, 90.0f}, {10.0f, 0.0f}, {4.5f, 45.0f}, {19.0f, 90.0f}, {-11.0f, 90.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        mesh.SetAnimFrame(c.frame, false);
        EXPECT_FLOAT_EQ(Position(mesh, 0), c.x);
        // A lone scale key never scales.
        float m[16];
        mesh.GetLocalMatrix(m);
        EXPECT_FLOAT_EQ(m[0], 1.0f);
    }
    // Frames no number can wrap are ignored.
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        mesh.SetAnimFrame(bad, false);
        EXPECT_FLOAT_EQ(Position(mesh, 0), 90.0f);
    }
}

TEST(MeshKeyTracks, RotationKeysTurnAndTheCacheServesWholeFrames) {
    CMesh mesh;
    auto tracks = std::make_unique<MeshKeyTracks>();
    tracks->lastFrame = 4;
    AddRotationKey(*tracks, 0, {1, 0, 0, 0});
    AddRotationKey(*tracks, 4, {std::cos(kPi / 4), 0, 0, std::sin(kPi / 4)});
    mesh.SetKeyTracks(std::move(tracks));
    mesh.SetAnimFrame(2.0f, false);
    float m[16];
    mesh.GetLocalMatrix(m);
    EXPECT_NEAR(m[0], std::cos(kPi / 4), 1e-6f);
    EXPECT_NEAR(m[1], -std::sin(kPi / 4), 1e-6f);

    mesh.PrecomputeFrames();
    // Changing the keys afterwards shows that whole frames now come from the cache.
    mesh.GetKeyTracks()->keys.back().rotation = {1, 0, 0, 0};
    float at2[16], other[16];
    for (float frame : {2.4f, 2.6f}) {
        mesh.SetAnimFrame(frame, false);
        mesh.GetLocalMatrix(frame == 2.4f ? at2 : other);
    }
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(at2[i], other[i]);
    EXPECT_NEAR(at2[1], -std::sin(kPi / 4), 1e-6f);
}

TEST(MeshVertexAnimation, FramesSwitchSetsAndFramesWithoutKeepThem) {
    auto mesh = Strip(8, 2);
    auto animation = std::make_unique<MeshVertexAnimation>();
    animation->frameCount = 4;
    animation->markers = {0, 2};
    animation->frameSets = {0, -1, 1, 1};
    mesh->SetVertexAnimation(std::move(animation), 4);
    ASSERT_EQ(mesh->GetVertexCount(), 4u);
    MeshVertex* first = mesh->GetVertices();

    struct Case {
        float frame;
        int set;
    };
    const Case cases[] = {{2.0f, 1}, {1.0f, 1}, {0.0f, 0}, {-2.0f, 1}, {5.6f, 1}, {4.2f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        mesh->SetAnimFrame(c.frame, false);
        EXPECT_EQ(mesh->GetVertices(), first + 4 * c.set);
    }
    EXPECT_EQ(mesh->GetPendingUpdates(), CMesh::kUpdatePositions | CMesh::kUpdateNormals);

    // A count of 0 frames animates nothing.
    mesh->GetVertexAnimation()->frameCount = 0;
    mesh->SetAnimFrame(2.0f, false);
    EXPECT_EQ(mesh->GetVertices(), first);
}

TEST(MeshSort, KeyedTexturesLastThenByTextureAndCorners) {
    testsupport::FakeMeshTextures textures;
    CTexture* plain = textures.Make("plain");
    CTexture* keyed = textures.Make("keyed", 0x10);
    CTexture* later = textures.Make("later");
    auto mesh = Strip(8, 5);
    CTexture* order[] = {keyed, later, plain, keyed, plain};
    for (int f = 0; f < 5; ++f)
        mesh->GetFaces(0)[f].texture = order[f];
    mesh->SetFaceCount(3, 1); // list 1 follows where it reaches
    for (std::uint32_t f = 0; f < 3; ++f)
        mesh->GetFaces(1)[f].a = f;
    mesh->SmoothingGroups() = {0, 1, 2, 3, 4};
    mesh->SortFaces(false);

    const CTexture* expectTexture[] = {plain, plain, later, keyed, keyed};
    const std::uint32_t expectA[] = {2, 4, 1, 0, 3};
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(mesh->GetFaces(0)[f].texture, expectTexture[f]) << f;
        EXPECT_EQ(mesh->GetFaces(0)[f].a, expectA[f]) << f;
        EXPECT_EQ(mesh->SmoothingGroups()[f], expectA[f]) << f;
    }
    // Exchanges reaching past list 1 leave it alone; the rest moved with list 0.
    for (std::uint32_t f = 0; f < 3; ++f)
        EXPECT_LT(mesh->GetFaces(1)[f].a, 3u);
}

TEST(MeshClone, CopyOutlivesItsSourceAndAnimatesOnItsOwn) {
    CMesh root;
    auto* source = new CMesh(&root);
    source->SetVertexCount(6);
    for (std::uint32_t i = 0; i < 6; ++i)
        source->GetVertices()[i].x = static_cast<float>(i);
    source->SetFaceCount(1, 0);
    source->GetFaces(0)[0] = {0, 1, 2, nullptr, 0, 0, 0, 0, 0, 0, 0};
    auto animation = std::make_unique<MeshVertexAnimation>();
    animation->frameCount = 2;
    animation->markers = {0, 1};
    animation->frameSets = {0, 1};
    source->SetVertexAnimation(std::move(animation), 3);
    auto tracks = std::make_unique<MeshKeyTracks>();
    tracks->lastFrame = 1;
    const float p[3] = {5.0f, 0.0f, 0.0f};
    AddPositionKey(*tracks, 0, p);
    source->SetKeyTracks(std::move(tracks));
    source->SetAttachment(std::make_shared<CMeshAttachment>());
    ASSERT_TRUE(source->UpdateVertexBuffer());

    std::unique_ptr<CEntity> copyNode(source->Clone(nullptr));
    auto* copy = static_cast<CMesh*>(copyNode.get());
    EXPECT_EQ(copy->GetAttachment(), source->GetAttachment());
    delete source;

    copy->SetAnimFrame(1.0f, false);
    ASSERT_TRUE(copy->UpdateVertexBuffer());
    EXPECT_EQ(copy->GetVertices()[0].x, 3.0f);
    EXPECT_EQ(Position(*copy, 0), 5.0f);
    EXPECT_EQ(copy->GetBuffer()->CornerCount(), 3u);
}

/// The float at word w of buffer vertex i.
float Word(const CMeshBuffer& buffer, std::uint32_t i, int w) {
    return std::bit_cast<float>(buffer.VertexWords(i)[w]);
}

TEST(MeshHidden, ARecursiveCallReachesEveryMeshBelowThroughPlainFrames) {
    CMesh top;
    auto* child = new CMesh(&top);
    auto* frame = new CFrame(&top);
    auto* belowFrame = new CMesh(frame);
    auto* deeper = new CMesh(belowFrame);
    const std::vector<CMesh*> below = {child, belowFrame, deeper};
    for (bool recursive : {false, true}) {
        SCOPED_TRACE(recursive);
        top.SetHidden(true, true);
        top.SetHidden(false, recursive);
        EXPECT_TRUE(top.IsHidden());
        for (const CMesh* mesh : below)
            EXPECT_EQ(mesh->IsHidden(), recursive);
    }
}

TEST(MeshBuffer, LayoutFollowsWhatTheMeshCarries) {
    struct Case {
        bool colours, specular;
        std::uint32_t secondList; // faces in list 1 (the mesh has 2)
        std::uint32_t format;
    };
    const Case cases[] = {{false, false, 0, 0x112}, {false, false, 1, 0x112}, {false, false, 2, 0x212},
                          {true, false, 0, 0x142},  {true, true, 2, 0x2C2},   {false, true, 0, 0x192}};
    for (const Case& c : cases) {
        auto mesh = Strip(4, 2);
        if (c.colours)
            mesh->SetColourCount(4);
        if (c.specular)
            mesh->SetSpecularCount(4);
        mesh->SetFaceCount(c.secondList, 1);
        ASSERT_TRUE(mesh->UpdateVertexBuffer());
        const CMeshBuffer& buffer = *mesh->GetBuffer();
        EXPECT_EQ(buffer.Layout().format, c.format);
        EXPECT_EQ(buffer.Batches().front().hasSecondList, c.secondList == 2);
        EXPECT_EQ(buffer.Vertices().Layout().stride, buffer.Layout().size * 4);
    }
}

TEST(MeshBuffer, CornersAreSharedOnlyWithEqualCoordinatesInOneRun) {
    testsupport::FakeMeshTextures textures;
    auto mesh = Strip(5, 3);
    MeshFace* faces = mesh->GetFaces(0);
    // Faces 0 and 1 meet at vertices 1 and 2 with the same coordinates at vertex 1 only (corner b of
    // face 0 and corner a of face 1 both have (1, 0)); face 2 has a texture of its own.
    faces[1].tu0 = 1.0f;
    faces[1].tv0 = 0.0f;
    faces[2].texture = textures.Make("other");
    faces[0].flags = 0;
    ASSERT_TRUE(mesh->UpdateVertexBuffer());
    const CMeshBuffer& buffer = *mesh->GetBuffer();
    EXPECT_EQ(buffer.CornerCount(), 3u + 2u + 3u);
    ASSERT_EQ(buffer.Batches().size(), 2u);
    EXPECT_EQ(buffer.Batches()[1].firstVertex, 5);
    EXPECT_EQ(buffer.Batches()[1].indices, (std::vector<std::uint16_t>{0, 1, 2}));

    // A flat face gets corners of its own carrying the face normal.
    auto flat = Strip(3, 1);
    flat->GetFaces(0)[0].flags = CMesh::kFaceFlat;
    ASSERT_TRUE(flat->UpdateVertexBuffer());
    EXPECT_FLOAT_EQ(Word(*flat->GetBuffer(), 0, 5), -1.0f);
}

TEST(MeshBuffer, UpdatesRewriteOnlyTheirPartsOfEachCorner) {
    auto mesh = Strip(4, 2);
    mesh->SetColourCount(4);
    mesh->SetFlags(mesh->GetFlags() | CMesh::kFlagKeepCornerMaps);
    ASSERT_TRUE(mesh->UpdateVertexBuffer());
    const CMeshBuffer* buffer = mesh->GetBuffer();
    const std::vector<std::uint32_t> before(buffer->VertexWords(0),
                                            buffer->VertexWords(0) + buffer->CornerCount() * 6);
    for (std::uint32_t i = 0; i < 4; ++i) {
        mesh->GetColours()[i * 3] = 0x12;
        mesh->GetColours()[i * 3 + 2] = 0x34;
        mesh->GetVertices()[i].x += 100.0f;
        mesh->GetVertices()[i].nx = 7.0f;
    }
    mesh->RequestUpdate(CMesh::kUpdateColours);
    ASSERT_TRUE(mesh->UpdateVertexBuffer());
    ASSERT_EQ(mesh->GetBuffer(), buffer); // in place
    for (std::uint32_t i = 0; i < buffer->CornerCount(); ++i)
        for (int w = 0; w < 6; ++w)
            EXPECT_EQ(buffer->VertexWords(i)[w], w == 3 ? 0x120034u : before[i * 6 + w]) << i << " " << w;

    // Positions and normals on a pre-lit layout: the normals are not there and nothing else moves.
    mesh->RequestUpdate(CMesh::kUpdatePositions | CMesh::kUpdateNormals);
    ASSERT_TRUE(mesh->UpdateVertexBuffer());
    EXPECT_EQ(Word(*buffer, 0, 0), 100.0f);
    EXPECT_EQ(buffer->VertexWords(0)[3], 0x120034u);

    // Colours that go away make the buffer again, without the colour.
    mesh->SetColourCount(0);
    mesh->RequestUpdate(CMesh::kUpdateColours);
    ASSERT_TRUE(mesh->UpdateVertexBuffer());
    EXPECT_EQ(mesh->GetBuffer()->Layout().format, 0x112u);
    EXPECT_EQ(Word(*mesh->GetBuffer(), 0, 3), 7.0f);
}

TEST(MeshBuffer, MeshesBeyondSixteenBitIndicesAreRefused) {
    auto mesh = Strip(3, 0);
    mesh->SetFaceCount(21846, 0); // 65538 flat corners
    for (std::uint32_t f = 0; f < 21846; ++f)
        mesh->GetFaces(0)[f] = {0, 1, 2, nullptr, CMesh::kFaceFlat, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(mesh->UpdateVertexBuffer());
    mesh->SetFaceCount(21845, 0);
    for (std::uint32_t f = 0; f < 21845; ++f)
        mesh->GetFaces(0)[f] = {0, 1, 2, nullptr, CMesh::kFaceFlat, 0, 0, 0, 0, 0, 0};
    mesh->RequestUpdate(CMesh::kUpdateRebuild);
    EXPECT_TRUE(mesh->UpdateVertexBuffer());
}

TEST(MeshBounds, SphereAroundTheVerticesAndEmptyMeshesAtTheirPosition) {
    CMesh root;
    auto* mesh = new CMesh(&root);
    mesh->SetVertexCount(2);
    mesh->GetVertices()[0].x = -1.0f;
    mesh->GetVertices()[1].x = 3.0f;
    auto* frame = new CFrame(&root);
    auto* below = new CMesh(frame); // reached through a plain frame
    below->SetPosition(4.0f, 5.0f, 6.0f);
    root.SetPosition(1.0f, 2.0f, 3.0f);
    root.ComputeBounds();
    EXPECT_FLOAT_EQ(mesh->GetCentre()[0], 1.0f);
    EXPECT_FLOAT_EQ(mesh->GetRadius(), 2.0f);
    EXPECT_FLOAT_EQ(below->GetCentre()[2], 6.0f);
    EXPECT_FLOAT_EQ(root.GetRadius(), 0.0f);
    EXPECT_FLOAT_EQ(root.GetCentre()[1], 2.0f);
}

} // namespace
