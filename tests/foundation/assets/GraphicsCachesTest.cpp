#include "AssetTestDoubles.h"

#include "engine/Frame.h"
#include "engine/Texture.h"
#include "engine/TextureList.h"
#include "foundation/assets/PieceLists.h"
#include "render/VornMesh.h"
#include "render/assets/GraphicsCaches.h"
#include "render/assets/MeshCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <set>

using namespace zentrix;

namespace {

CGraphicsCaches* g_caches = nullptr;

CTexture* LoadForMesh(const char* fileName) {
    return g_caches ? g_caches->EngineTextureCallback(fileName) : nullptr;
}

/// The sample set's asset manager with the real texture and mesh caches, which answer the engine's
/// texture requests.
struct GraphicsCaches : testing::Test {
    assettest::SampleWorld world;
    CGraphicsCaches* caches = nullptr;

    void SetUp() override {
        CAssetMan::SLinks links;
        links.host = &world.services;
        links.settings = &world.settings;
        links.fonts = &world.fonts;
        links.engine = &world.services;
        links.audio = &world.audio;
        links.makeGraphicsCaches = [this](CAssetMan& assets) {
            auto made = std::make_unique<CGraphicsCaches>(assets);
            caches = made.get();
            return made;
        };
        world.assets = std::make_unique<CAssetMan>(std::move(links));
        ASSERT_EQ(world.assets->StartManager(), 0);
        g_caches = caches;
        SetUserTextureLoadFunction(LoadForMesh);
    }
    void TearDown() override {
        world.assets->StopManager();
        SetUserTextureLoadFunction(nullptr);
        g_caches = nullptr;
    }

    /// The ids of the textures the faces of a mesh tree use.
    std::set<int> TextureIds(CEntity* node) {
        std::set<int> ids;
        std::function<void(CEntity*)> walk = [&](CEntity* n) {
            if (auto* mesh = dynamic_cast<CMesh*>(n))
                for (std::uint32_t f = 0; f < mesh->GetFaceCount(0); ++f)
                    ids.insert(caches->Textures().FindByTexture(mesh->GetFaces(0)[f].texture)->GetId());
            for (CEntity* c = n->GetFirstChild(); c; c = c->GetNextSibling())
                walk(c);
        };
        walk(node);
        return ids;
    }
};

TEST_F(GraphicsCaches, MeshesFindTheirTexturesWhereTheGameLooks) {
    const struct {
        int mesh;
        std::set<int> textures;
    } cases[] = {
        {15008, {15950, 15951}},        // the jungle's shared folder first, not road.tga beside the mesh
        {62000, {62001, 62002, 62003}}, // beside the mesh
        // Track pieces whose textures have the same names in every theme: each from its own theme's
        // folder beside it
        {15003, {15970, 15971, 15972}},
        {17003, {17970, 17971, 17972}},
        {16000, {16970, 16971, 16972, 16973}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mesh);
        CMeshAsset* asset = world.assets->GetMesh(c.mesh);
        ASSERT_NE(asset, nullptr);
        EXPECT_TRUE(world.assets->IsMeshCached(c.mesh));
        EXPECT_EQ(world.assets->GetMesh(c.mesh), asset);
        EXPECT_EQ(TextureIds(asset->GetMesh()), c.textures);
    }
    EXPECT_STREQ(caches->Textures().FindById(62002)->GetEngineTexture()->GetName(), "glass!08.tga");
    EXPECT_TRUE(caches->Textures().FindById(62002)->GetEngineTexture()->GetFlags() & 0x4);

    // A path that holds no mesh is not cached.
    EXPECT_EQ(world.assets->GetMesh(15201), nullptr);
    EXPECT_FALSE(world.assets->IsMeshCached(15201));
}

// The palette leaves the same cells open in every world: each shows its piece, textured from its own
// world's track folder (the world libraries are searched by the path after the theme's folder, so a
// texture read from another world's would mean a mesh or texture in a shared folder), with ground to
// drive or stand on, and nothing that stands clear above the ground is ground but a ramp's raised road or a
// height block's top.
TEST_F(GraphicsCaches, EveryOpenPaletteCellShowsItsPieceInEveryWorld) {
    const struct {
        int suffix;
        bool raised;
    } open[] = {
        {201, false}, {203, false}, {209, false}, {202, false}, {227, false}, {228, false}, {225, false},
        {212, true},  {292, true},  {221, false}, {218, false}, {219, false}, {220, false}, {224, false},
        {223, false}, {216, false}, {293, false}, {246, false}, {241, false}, {245, false}, {244, false},
        {243, false}, {240, false}, {247, false}, {242, false}, {262, false}, {272, false}, {274, false},
    };
    for (int theme = 0; theme < 4; ++theme) {
        const int base = CPieceLists::ThemeBaseId(theme);
        for (const auto& cell : open) {
            const int piece = base + cell.suffix;
            SCOPED_TRACE(piece);
            std::string path;
            ASSERT_TRUE(world.assets->GetAssetPath(piece, path));
            CMeshAsset* asset = world.assets->GetMesh(piece - 200);
            ASSERT_NE(asset, nullptr);
            for (int id : TextureIds(asset->GetMesh()))
                EXPECT_TRUE(id >= base + 900 && id < base + 1000) << "texture " << id;
            bool ground = false;
            std::function<void(CEntity*)> walk = [&](CEntity* n) {
                if (auto* mesh = dynamic_cast<CMesh*>(n)) {
                    for (std::uint32_t f = 0; f < mesh->GetFaceCount(0); ++f) {
                        const MeshFace& face = mesh->GetFaces(0)[f];
                        const bool driven = world.assets->GetTextureFlag(face.texture, 0) == 0;
                        const MeshVertex* v = mesh->GetVertices();
                        const float lowest = std::min({v[face.a].y, v[face.b].y, v[face.c].y});
                        ground = ground || driven;
                        EXPECT_FALSE(driven && lowest > 1.0f && !cell.raised) << "face " << f;
                    }
                }
                for (CEntity* c = n->GetFirstChild(); c; c = c->GetNextSibling())
                    walk(c);
            };
            walk(asset->GetMesh());
            EXPECT_TRUE(ground);
        }
    }
}

TEST_F(GraphicsCaches, ClonesOfSomePiecesGetWiderBounds) {
    for (int id : {15004, 15008}) {
        SCOPED_TRACE(id);
        CMeshAsset* asset = world.assets->GetMesh(id);
        ASSERT_NE(asset, nullptr);
        asset->GetMesh()->UpdateBoundingSpheres();
        const float cached = static_cast<CMesh*>(asset->GetMesh()->GetFirstChild())->GetRadius();
        ASSERT_GT(cached, 0.0f);
        std::unique_ptr<CVornMesh> clone(world.assets->CloneCachedMesh(id));
        ASSERT_NE(clone, nullptr);
        EXPECT_NE(clone.get(), asset->GetMesh());
        const float radius = static_cast<CMesh*>(clone->GetFirstChild())->GetRadius();
        EXPECT_FLOAT_EQ(radius, id == 15004 ? cached * 1.7f : cached);
    }
    EXPECT_EQ(world.assets->CloneCachedMesh(62000), nullptr); // not cached yet
}

TEST_F(GraphicsCaches, ClonesMarkTheFacesOfSmoothingGroup32) {
    CMeshAsset* asset = world.assets->GetMesh(15004);
    ASSERT_NE(asset, nullptr);
    CVornMesh& top = *asset->GetMesh();
    top.SetVertexCount(3);
    top.SetFaceCount(4, 0);
    for (std::uint32_t f = 0; f < 4; ++f) {
        top.GetFaces(0)[f] = MeshFace{};
        top.GetFaces(0)[f].b = 1;
        top.GetFaces(0)[f].c = 2;
    }
    top.GetFaces(0)[3].flags = 0x10;
    top.SmoothingGroups() = {32, 4, 33, 32};
    std::unique_ptr<CVornMesh> clone(world.assets->CloneCachedMesh(15004));
    ASSERT_NE(clone, nullptr);
    const std::uint32_t flags[4] = {0x80000000u, 0, 0, 0x80000010u};
    for (std::uint32_t f = 0; f < 4; ++f) {
        EXPECT_EQ(clone->GetFaces(0)[f].flags, flags[f]) << "face " << f;
        EXPECT_EQ(top.GetFaces(0)[f].flags, f == 3 ? 0x10u : 0u) << "the cached mesh keeps its flags";
    }
}

// The vertex edits reach every mesh of a tree, through plain frames as well.
TEST(MeshCache, VertexEditsReachEveryMeshOfTheTree) {
    const auto vertex = [](const CMesh& mesh) {
        const MeshVertex& v = mesh.GetVertices()[0];
        return std::array<float, 6>{v.x, v.y, v.z, v.nx, v.ny, v.nz};
    };
    const struct {
        const char* what;
        std::function<void(CEntity*)> edit;
        std::array<float, 6> top, deep; // vertex 0: position, normal
        std::array<float, 3> frame;     // the plain frame's position
    } cases[] = {
        {"half a turn about y",
         [](CEntity* t) { CMeshCache::RotateVertices(t, 0.0f, static_cast<float>(M_PI), 0.0f); },
         {-1, 2, -3, 0, 0, -1},
         {-4, 5, -6, -1, 0, 0},
         {10, 0, 0}},
        {"scaled by 2",
         [](CEntity* t) { CMeshCache::ScaleVertices(t, 2.0f); },
         {2, 4, 6, 0, 0, 1},
         {8, 10, 12, 1, 0, 0},
         {20, 0, 0}},
        {"moved",
         [](CEntity* t) { CMeshCache::TranslateVertices(t, 1.0f, -1.0f, 0.5f); },
         {2, 1, 3.5f, 0, 0, 1},
         {5, 4, 6.5f, 1, 0, 0},
         {10, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMesh top;
        top.SetVertexCount(1);
        top.GetVertices()[0] = {1, 2, 3, 0, 0, 1};
        auto* frame = new CFrame(&top);
        frame->SetPosition(10, 0, 0);
        auto* deep = new CMesh(frame);
        deep->SetVertexCount(1);
        deep->GetVertices()[0] = {4, 5, 6, 1, 0, 0};
        c.edit(&top);
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(vertex(top)[static_cast<std::size_t>(i)], c.top[static_cast<std::size_t>(i)], 1e-5f)
                << i;
            EXPECT_NEAR(vertex(*deep)[static_cast<std::size_t>(i)], c.deep[static_cast<std::size_t>(i)],
                        1e-5f)
                << i;
        }
        float p[3];
        frame->GetPosition(p);
        EXPECT_EQ((std::array<float, 3>{p[0], p[1], p[2]}), c.frame);
    }
}

TEST_F(GraphicsCaches, TextureFlagsAndOwners) {
    CTextureAsset* flagged = world.assets->GetTexture(1502);
    CTextureAsset* plain = world.assets->GetTexture(15950);
    ASSERT_NE(flagged, nullptr);
    EXPECT_EQ(world.assets->GetTexture(1502), flagged);
    EXPECT_EQ(world.assets->GetTextureFlag(flagged->GetEngineTexture(), 0), 1);
    EXPECT_EQ(world.assets->GetTextureFlag(plain->GetEngineTexture(), 0), 0);
    EXPECT_EQ(caches->Textures().FindByName("FLAGGED.TGA"), flagged);
    // Every cached texture has owner key 0: releasing key 0, or a key nobody has, keeps them all.
    for (std::intptr_t key : {0, 1234}) {
        world.assets->ReleaseTexture(key);
        EXPECT_EQ(caches->Textures().Count(), 2u);
    }
}

TEST_F(GraphicsCaches, ATextureThatCannotLoadEndsTheProgram) {
    EXPECT_EXIT(world.assets->GetTexture(4321), testing::ExitedWithCode(3), "Load Texture Failure");
    // Unless data named it: then it is no texture.
    for (int id : {4321, -1, 0})
        EXPECT_EQ(world.assets->GetListedTexture(id), nullptr) << id;
    ASSERT_NE(world.assets->GetListedTexture(1502), nullptr);
    EXPECT_EQ(world.assets->GetListedTexture(1502), world.assets->GetTexture(1502));
}

TEST(VornMesh, NormalsComeFromFacesThatAreNotVertical) {
    CVornMesh mesh;
    mesh.SetVertexCount(5);
    const float p[5][3] = {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}};
    for (int i = 0; i < 5; ++i)
        mesh.GetVertices()[i] = {p[i][0], p[i][1], p[i][2], 9, 9, 9};
    mesh.SetFaceCount(2, 0);
    mesh.GetFaces(0)[0] = {0, 1, 2, nullptr, 0, 0, 0, 0, 0, 0, 0}; // floor, facing up
    mesh.GetFaces(0)[1] = {0, 3, 1, nullptr, 0, 0, 0, 0, 0, 0, 0}; // wall: adds nothing
    mesh.RecomputeNormals(false);
    const float expected[5][3] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(mesh.GetVertices()[i].nx, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(mesh.GetVertices()[i].ny, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(mesh.GetVertices()[i].nz, expected[i][2]) << i;
    }
}

} // namespace
