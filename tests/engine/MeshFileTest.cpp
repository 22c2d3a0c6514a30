#include "engine/KmbFile.h"
#include "engine/KmtReader.h"
#include "engine/Mesh.h"
#include "engine/MeshTextureAccess.h"
#include "foundation/resources/LittleEndian.h"
#include "support/FakeMeshTextures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string SampleMesh(const char* name) {
    std::ifstream file(std::string(ZENTRIX_SOURCE_DIR) + "/data/sample/meshes/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool LoadKmt(const std::string& text, CMesh& root, bool keepGroups = false, std::string* drift = nullptr) {
    const Bytes bytes = AsBytes(text);
    return KMTLoadFromMemory(bytes.data(), bytes.size(), "test.kmt", &root, keepGroups, drift);
}

CMesh* Child(CEntity& root, const char* name) {
    return dynamic_cast<CMesh*>(root.FindFrame(name));
}

/// A KMT with one object "o" around the given mesh block content.
std::string ObjectWith(const std::string& meshContent, const std::string& before = "") {
    return before + "object \"o\" {\n mesh {\n" + meshContent + "\n }\n}\n";
}

const char* kTriangle = "vertices { 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 1.0, 1.0, 0.0, }\n";

TEST(KmtReader, ChunksBuildTheMeshAsWritten) {
    testsupport::FakeMeshTextures textures;
    const std::string materials =
        "material \"a\" { texture \"a.tga\" }\nmaterial \"b&\" { texture \"b.tga\" }\n";
    CMesh root;
    ASSERT_TRUE(LoadKmt(ObjectWith(std::string(kTriangle) +
                                       "texture_coordinates { 0.0, 0.5, 1.0, 0.5, 0.0, 1.0, 1.0, 1.0, }\n"
                                       "faces { 3, 0,0, 1,0, 2,0, 3, 1,0, 3,0, 2,0, 4, 0,0, 1,0, 2,0, 3,0,"
                                       " 3, 0,0, 1,0, 9,0, 0 }\n"
                                       "material \"a\"\n"
                                       "face_materials { \"nothing\" \"b&\" \"a\" \"a\" }\n",
                                   materials),
                        root));
    CMesh* mesh = Child(root, "o");
    ASSERT_NE(mesh, nullptr);
    // The quad is skipped and the face naming vertex 9 dropped.
    ASSERT_EQ(mesh->GetFaceCount(0), 2u);
    const MeshFace* f = mesh->GetFaces(0);
    // Textures group in the order they were made: "a" (the unknown name takes the first material) first.
    EXPECT_STREQ(MeshTextureName(f[0].texture), "a.tga");
    EXPECT_STREQ(MeshTextureName(f[1].texture), "b.tga");
    EXPECT_EQ(f[1].flags, 1u);
    // Coordinates given per vertex: the shared vertices 1 and 2 carry theirs into both faces.
    EXPECT_EQ(f[0].tu1, 1.0f);
    EXPECT_EQ(f[1].tu0, 1.0f);
    EXPECT_EQ(f[1].tv2, 1.0f);
    EXPECT_EQ(f[0].tv2, 1.0f);
    // Normals are the mean of the face normals at the vertex.
    EXPECT_FLOAT_EQ(mesh->GetVertices()[1].nz, 1.0f);
    EXPECT_FALSE(mesh->IsHidden());

    CMesh bare;
    ASSERT_TRUE(LoadKmt(ObjectWith(std::string(kTriangle) + "faces { 3, 0,0, 1,0, 2,0, 0 }"), bare));
    EXPECT_TRUE(Child(bare, "o")->IsHidden()); // nothing textured
}

TEST(KmtReader, AnimatedVerticesAndKeys) {
    CMesh root;
    ASSERT_TRUE(LoadKmt("object \"o\" { mesh { anim_vertices 3 { 0 : 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0,"
                        " 2 : 0, 0, 5, 1, 0, 5, 0, 1, 5, 1, 1, 5, }\n"
                        "faces { 3, 0,0, 1,0, 2,0, 0 } }\n"
                        "animation \"x\" { object_name \"o\"\n"
                        " rotate_keys { 4, 1.0, 0.0, 0.0, 0.0, }\n"
                        " position_keys { 4, 1.0, 2.0, 3.0, -1, 9.0, 9.0, 9.0, }\n}\n"
                        "animation \"y\" { object_name \"nobody\" position_keys { 1, 0.0, 0.0, 0.0, } }\n"
                        "animation \"z\" { scale_keys { 1, 1.0, 1.0, 1.0, } }\n}\n",
                        root));
    CMesh* mesh = Child(root, "o");
    ASSERT_EQ(mesh->GetVertexCount(), 4u);
    const MeshVertexAnimation* animation = mesh->GetVertexAnimation();
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->frameSets, (std::vector<std::int32_t>{0, 0, 1}));
    mesh->SetAnimFrame(2.0f, false);
    EXPECT_EQ(mesh->GetVertices()[0].z, 5.0f);

    const MeshKeyTracks* tracks = mesh->GetKeyTracks();
    ASSERT_NE(tracks, nullptr);
    ASSERT_EQ(tracks->keys.size(), 1u); // rotation and position at one frame; the negative frame ignored
    EXPECT_TRUE(tracks->keys[0].hasRotation && tracks->keys[0].hasPosition && !tracks->keys[0].hasScale);
    EXPECT_EQ(tracks->lastFrame, 4u);
}

TEST(KmtReader, ADriftingFileKeepsWhatCouldBeReadAndReadsOn) {
    const auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "object \"n\" { ";
        return text + std::string(static_cast<std::size_t>(depth), '}');
    };
    const struct {
        const char* what;
        std::string text;
        std::uint32_t vertices, faces; // of object "o"
        bool laterObject;              // object "b", which follows, was read
        float x;                       // o's position after its matrix (0: identity)
    } cases[] = {
        {"a polygon cut short ends the list",
         "object \"o\" { mesh { " + std::string(kTriangle) + "faces { 3, 0,0, 1,0, 2,0, 3, 0,0, 1,0, } } }",
         4, 1, false, 0},
        {"no comma after the last vertex", "object \"o\" { mesh { vertices { 1, 2, 3, 4, 5, 6 } } }", 2, 0,
         false, 0},
        {"a mismatch in a list, then the next object",
         "object \"o\" { mesh { vertices { 1, 2, 3, x, 4, 5, 6, } } }\nobject \"b\" { }", 1, 0, true, 0},
        {"a polygon count that is no number", "object \"o\" { mesh { faces { x } } }\nobject \"b\" { }", 0, 0,
         true, 0},
        {"a block not closed at the end", "object \"o\" { mesh { vertices { 1.0, 2.0, 3.0, } ", 1, 0, false,
         0},
        {"a list not closed at the end", "object \"o\" { mesh { faces { 3", 0, 0, false, 0},
        {"half a matrix is not applied", "object \"o\" { matrix { 1, 0, 0, 0, 0, 1, 0, 0, 0 } }", 0, 0, false,
         0},
        {"a whole matrix", "object \"o\" { matrix { 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 0, 0, 1, } }", 0,
         0, false, 7},
        {"a material never closed", "object \"o\" { }\nmaterial \"m\" { texture \"unterminated", 0, 0, false,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMesh root;
        std::string drift;
        ASSERT_TRUE(LoadKmt(c.text, root, false, &drift));
        // A comma left out after the last value of an item still matches, as scanf reads it.
        EXPECT_EQ(drift.empty(), c.x == 7 || c.vertices == 2) << drift;
        CMesh* o = Child(root, "o");
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->GetVertexCount(), c.vertices);
        EXPECT_EQ(o->GetFaceCount(0), c.faces);
        EXPECT_EQ(Child(root, "b") != nullptr, c.laterObject);
        float position[3];
        o->GetPosition(position);
        EXPECT_EQ(position[0], c.x);
    }
    // Objects nest at most 64 deep; the rest of a deeper file is not read.
    CMesh root;
    ASSERT_TRUE(LoadKmt(nested(70) + "object \"b\" { }", root));
    int depth = 0;
    for (CEntity* node = root.GetFirstChild(); node; node = node->GetFirstChild())
        ++depth;
    EXPECT_EQ(depth, 64);
    EXPECT_EQ(Child(root, "b"), nullptr);
}

void ReturningFatalHandler(const char*) {}

TEST(KmtReader, AnAnimationReachesAnObjectTheRootAlreadyHad) {
    CMesh root;
    ASSERT_TRUE(LoadKmt("object \"wheel\" { }", root));
    root.SetName("car");
    CMesh* old = Child(root, "wheel");
    // Animations stand in an object's block.
    const auto animating = [](const char* name) {
        return std::string("object \"holder\" { animation \"a\" { object_name \"") + name +
               "\" position_keys { 2, 1.0, 2.0, 3.0, } } }\n";
    };
    // A failed load gives no object of the root its tracks.
    SetKmtFatalHandler(ReturningFatalHandler);
    EXPECT_FALSE(LoadKmt(animating("wheel") + ObjectWith("vertex_light { }"), root));
    SetKmtFatalHandler(nullptr);
    EXPECT_EQ(old->GetKeyTracks(), nullptr);
    ASSERT_TRUE(LoadKmt(animating("wheel"), root));
    ASSERT_NE(old->GetKeyTracks(), nullptr);
    old->ClearKeyTracks();
    // The root itself first, then this file's objects, then those the root had.
    ASSERT_TRUE(LoadKmt("object \"wheel\" { }\n" + animating("wheel") + animating("car"), root));
    EXPECT_NE(root.GetKeyTracks(), nullptr);
    const CMesh* fresh = nullptr;
    for (CEntity* c = root.GetFirstChild(); c; c = c->GetNextSibling())
        if (c != old && c->GetName() == std::string("wheel"))
            fresh = static_cast<CMesh*>(c);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh->GetKeyTracks(), nullptr);
    EXPECT_EQ(old->GetKeyTracks(), nullptr);
}

TEST(KmbFile, SmoothingGroupsOnlyWhereTheTextGivesThem) {
    testsupport::FakeMeshTextures textures;
    const struct {
        const char* chunk;
        bool keep;
        std::vector<std::uint32_t> groups;
    } cases[] = {
        {"", true, {}},
        {"smoothing_groups { 32, }", true, {32, 0}}, // a face the list leaves out has group 0
        {"smoothing_groups { 32, 4, }", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunk);
        CMesh root;
        ASSERT_TRUE(LoadKmt(ObjectWith(std::string(kTriangle) +
                                       "faces { 3, 0,0, 1,0, 2,0, 3, 1,0, 3,0, 2,0, 0 }\n" + c.chunk),
                            root, c.keep));
        EXPECT_EQ(Child(root, "o")->SmoothingGroups(), c.groups);
        // The frame's flags follow the header (kind, no application data, an empty texture table) and
        // its vertex count.
        const Bytes image = SaveKMBImage(&root, nullptr);
        ASSERT_GT(image.size(), 20u);
        EXPECT_EQ(LittleEndian::ReadU32(image.data() + 16) & 2, c.groups.empty() ? 0u : 2u);
        CMesh back;
        ASSERT_TRUE(OMBRELLoadKMB(&back, image.data(), image.size(), nullptr));
        EXPECT_EQ(Child(back, "o")->SmoothingGroups(), c.groups);
    }
}

TEST(KmbFile, TheTextureTableListsTheTexturesOfTheMeshesBelowTheRoot) {
    testsupport::FakeMeshTextures textures;
    const auto face = [&](CMesh& mesh, const char* texture) {
        mesh.SetVertexCount(3);
        mesh.SetFaceCount(1, 0);
        mesh.GetFaces(0)[0] = MeshFace{};
        mesh.GetFaces(0)[0].texture = textures.Make(texture);
    };
    CMesh root;
    face(root, "root.tga"); // the root's own faces are not written
    auto* child = new CMesh(&root);
    face(*child, "child.tga");
    auto* grandchild = new CMesh(child);
    face(*grandchild, "grandchild.tga");
    const Bytes image = SaveKMBImage(&root, nullptr);
    const std::uint32_t tableBytes = LittleEndian::ReadU32(image.data() + 8);
    const std::string table(image.begin() + 12, image.begin() + 12 + tableBytes);
    EXPECT_EQ(table, std::string("child.tga\0\0grandchild.tga\0\0", 27));
}

TEST(KmtReaderDeathTest, VertexColoursBeforeVerticesEndTheProgram) {
    CMesh root;
    EXPECT_EXIT(LoadKmt(ObjectWith("vertex_light { 1.0, 1.0, 1.0, }"), root), testing::ExitedWithCode(3),
                "vertex lighting chunk before vertex definition");
}

/// Expects two frame trees to hold the same meshes (the second read from a file of the first).
void ExpectSameTree(const CEntity& a, const CEntity& b) {
    const auto* ma = dynamic_cast<const CMesh*>(&a);
    const auto* mb = dynamic_cast<const CMesh*>(&b);
    ASSERT_EQ(ma != nullptr, mb != nullptr);
    EXPECT_STREQ(a.GetName(), b.GetName());
    float la[16], lb[16];
    a.GetLocalMatrix(la);
    b.GetLocalMatrix(lb);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(la[i], lb[i]) << a.GetName();
    if (ma) {
        ASSERT_EQ(ma->GetVertexCount(), mb->GetVertexCount());
        ASSERT_EQ(ma->GetFaceCount(0), mb->GetFaceCount(0));
        if (ma->GetVertexCount())
            EXPECT_EQ(0, std::memcmp(ma->GetVertices(), mb->GetVertices(),
                                     ma->GetVertexCount() * sizeof(MeshVertex)));
        for (std::uint32_t f = 0; f < ma->GetFaceCount(0); ++f) {
            const MeshFace &x = ma->GetFaces(0)[f], &y = mb->GetFaces(0)[f];
            EXPECT_EQ(x.texture, y.texture);
            EXPECT_EQ(0, std::memcmp(&x.tu0, &y.tu0, 6 * sizeof(float)));
            EXPECT_EQ(x.a + x.b * 7 + x.c * 49 + x.flags, y.a + y.b * 7 + y.c * 49 + y.flags);
        }
        EXPECT_EQ(ma->SmoothingGroups(), mb->SmoothingGroups());
        EXPECT_EQ(ma->GetKeyTracks() != nullptr, mb->GetKeyTracks() != nullptr);
        if (ma->GetKeyTracks()) {
            const auto &ka = ma->GetKeyTracks()->keys, &kb = mb->GetKeyTracks()->keys;
            ASSERT_EQ(ka.size(), kb.size());
            for (std::size_t k = 0; k < ka.size(); ++k) {
                EXPECT_EQ(ka[k].time, kb[k].time);
                EXPECT_EQ(ka[k].rotation.s, kb[k].rotation.s);
                EXPECT_EQ(ka[k].rotation.x, kb[k].rotation.x);
            }
        }
    }
    // The file lists children in list order and reading puts each at the head: the order turns round.
    std::vector<const CEntity*> ca, cb;
    for (const CEntity* c = a.GetFirstChild(); c; c = c->GetNextSibling())
        ca.insert(ca.begin(), c);
    for (const CEntity* c = b.GetFirstChild(); c; c = c->GetNextSibling())
        cb.push_back(c);
    ASSERT_EQ(ca.size(), cb.size());
    for (std::size_t i = 0; i < ca.size(); ++i)
        ExpectSameTree(*ca[i], *cb[i]);
}

TEST(KmbFile, SampleMeshesComeBackFromKmbAsTheirKmt) {
    testsupport::FakeMeshTextures textures;
    for (const char* name : {"boxcar.kmt", "flat.kmt", "ramp.kmt"}) {
        SCOPED_TRACE(name);
        CMesh fromText;
        std::string drift = "?";
        ASSERT_TRUE(LoadKmt(SampleMesh(name), fromText, true, &drift));
        EXPECT_EQ(drift, "");
        fromText.SortFaces(true);
        const Bytes image = SaveKMBImage(&fromText, nullptr);
        CMesh fromBinary;
        ASSERT_TRUE(OMBRELLoadKMB(&fromBinary, image.data(), image.size(), nullptr));
        ExpectSameTree(fromText, fromBinary);
        // Each reading turns the child order round; read twice, the file is byte for byte the same.
        const Bytes turned = SaveKMBImage(&fromBinary, nullptr);
        CMesh twice;
        ASSERT_TRUE(OMBRELLoadKMB(&twice, turned.data(), turned.size(), nullptr));
        EXPECT_EQ(SaveKMBImage(&twice, nullptr), image);
        // Every strict prefix fails and leaves the root empty.
        for (std::size_t n = 0; n < image.size(); ++n) {
            CMesh root;
            ASSERT_FALSE(OMBRELLoadKMB(&root, image.data(), n, nullptr)) << n;
            ASSERT_EQ(root.GetFirstChild(), nullptr);
        }
    }
    CMesh car;
    ASSERT_TRUE(LoadKmt(SampleMesh("boxcar.kmt"), car));
    EXPECT_NE(Child(car, "wheel_fl")->GetKeyTracks(), nullptr);
    EXPECT_EQ(Child(car, "wheel_fr")->GetParent(), Child(car, "body"));
}

/// Nodes, vertices and first-list faces of a whole tree.
struct TreeCounts {
    std::size_t nodes = 0, vertices = 0, faces = 0;
};

void Count(const CEntity& node, TreeCounts& counts) {
    for (const CEntity* child = node.GetFirstChild(); child; child = child->GetNextSibling()) {
        ++counts.nodes;
        if (const auto* mesh = dynamic_cast<const CMesh*>(child)) {
            counts.vertices += mesh->GetVertexCount();
            counts.faces += mesh->GetFaceCount(0);
        }
        Count(*child, counts);
    }
}

TEST(KmtReader, EveryPrefixOfTheSamplesGivesPartOfTheMeshOrNothing) {
    testsupport::FakeMeshTextures textures;
    for (const char* name : {"boxcar.kmt", "ramp.kmt"}) {
        const std::string text = SampleMesh(name);
        CMesh whole;
        ASSERT_TRUE(LoadKmt(text, whole)) << name;
        TreeCounts all;
        Count(whole, all);
        ASSERT_GT(all.vertices, 0u) << name;
        for (std::size_t n = 0; n < text.size(); n += 3) {
            CMesh root;
            const bool loaded = LoadKmt(text.substr(0, n), root);
            TreeCounts part;
            Count(root, part);
            SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(n));
            // A refused text leaves the root as it was; an accepted one holds no more than the whole.
            if (!loaded) {
                EXPECT_EQ(part.nodes, 0u);
            }
            EXPECT_LE(part.nodes, all.nodes);
            EXPECT_LE(part.vertices, all.vertices);
            EXPECT_LE(part.faces, all.faces);
        }
    }
}

/// Builds KMB images by hand.
struct KmbWriter {
    Bytes out;
    KmbWriter& U32(std::uint32_t v) {
        LittleEndian::AppendU32(out, v);
        return *this;
    }
    KmbWriter& F32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return U32(bits);
    }
    /// A frame header: counts, an identity matrix and the name.
    KmbWriter& Frame(std::uint32_t vertices, std::uint32_t flags, std::uint32_t faces, std::uint32_t children,
                     const std::string& name) {
        U32(vertices).U32(flags).U32(faces).U32(children);
        for (int i = 0; i < 16; ++i) {
            const double v = i % 5 == 0 ? 1.0 : 0.0;
            std::uint8_t bytes[8];
            std::memcpy(bytes, &v, 8);
            out.insert(out.end(), bytes, bytes + 8);
        }
        U32(static_cast<std::uint32_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        return *this;
    }
};

TEST(KmbFile, HandMadeImagesReadAsSpecifiedOrFailCleanly) {
    testsupport::FakeMeshTextures textures;
    // Kind 0, a texture "t", a frame of 3 vertices with one face of texture 5 (past the table) and keys.
    KmbWriter good;
    good.U32(0).U32(3).out.insert(good.out.end(), {'t', 0, 0});
    good.Frame(3, 8, 1, 0, "k");
    for (int i = 0; i < 18; ++i)
        good.F32(static_cast<float>(i));
    good.U32(0).U32(1).U32(2).U32(5).U32(0);
    for (int i = 0; i < 6; ++i)
        good.F32(0.0f);
    good.U32(9).U32(1).U32(0x30000005).F32(0.5f).F32(0).F32(0).F32(0.5f).F32(2).F32(2).F32(2);
    good.U32(0xFFFFFFFF);
    CMesh root;
    ASSERT_TRUE(OMBRELLoadKMB(&root, good.out.data(), good.out.size(), nullptr));
    CMesh* mesh = Child(root, "k");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetFaces(0)[0].texture, nullptr);
    const MeshKey& key = mesh->GetKeyTracks()->keys.at(0);
    EXPECT_EQ(key.time, 5.0f);
    EXPECT_TRUE(key.hasRotation && key.hasScale && !key.hasPosition);
    EXPECT_EQ(key.rotation.s, 0.5f); // stored x, y, z, s
    EXPECT_EQ(textures.Requests().front(), "t");

    // A first frame word of -1 loads nothing and succeeds.
    KmbWriter empty;
    empty.U32(1).U32(0).U32(0).U32(0xFFFFFFFF);
    CMesh untouched;
    EXPECT_TRUE(OMBRELLoadKMB(&untouched, empty.out.data(), empty.out.size(), nullptr));
    EXPECT_EQ(untouched.GetFirstChild(), nullptr);

    auto header = [] {
        KmbWriter w;
        w.U32(0).U32(0);
        return w;
    };
    std::vector<std::pair<const char*, KmbWriter>> bad;
    bad.emplace_back("huge counts", header().Frame(0x10000000, 0, 0x10000000, 0, "x").U32(0xFFFFFFFF));
    bad.emplace_back("face index", header().Frame(1, 0, 1, 0, "x"));
    for (int i = 0; i < 6; ++i)
        bad.back().second.F32(0);
    bad.back().second.U32(0).U32(0).U32(1).U32(0xFFFFFFFF).U32(0);
    for (int i = 0; i < 6; ++i)
        bad.back().second.F32(0);
    bad.back().second.U32(0xFFFFFFFF);
    bad.emplace_back("last frame", header().Frame(0, 8, 0, 0, "x").U32(0xFFFFFFFF).U32(0).U32(0xFFFFFFFF));
    KmbWriter deep = header();
    for (int i = 0; i < 100; ++i)
        deep.Frame(0, 0, 0, 1, "d");
    bad.emplace_back("deep nesting", deep);
    for (auto& [what, writer] : bad) {
        SCOPED_TRACE(what);
        CMesh target;
        EXPECT_FALSE(OMBRELLoadKMB(&target, writer.out.data(), writer.out.size(), nullptr));
        EXPECT_EQ(target.GetFirstChild(), nullptr);
    }
}

TEST(KmbFile, CompleteCacheAndApplicationDataRoundTrip) {
    CMesh root;
    auto* mesh = new CMesh(&root);
    auto tracks = std::make_unique<MeshKeyTracks>();
    tracks->lastFrame = 2;
    const float p[3] = {1.0f, 2.0f, 3.0f};
    AddPositionKey(*tracks, 1, p);
    mesh->SetKeyTracks(std::move(tracks));
    mesh->PrecomputeFrames();
    testsupport::TempFolder folder;
    const KmbAppData data{{1, 2, 3}};
    ASSERT_TRUE(WriteKMBWithData(folder.Native("m.kmb").c_str(), &root, &data));

    CMesh back;
    const auto kept = back.LoadKMBWithData(folder.Native("m.kmb").c_str());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->bytes, data.bytes);
    auto* loaded = static_cast<CMesh*>(back.GetFirstChild());
    EXPECT_TRUE(loaded->GetKeyTracks()->keys.empty()); // no keys: the cache alone
    loaded->SetAnimFrame(1.0f, false);
    float m[16];
    loaded->GetLocalMatrix(m);
    EXPECT_EQ(m[13], 2.0f);
    EXPECT_FALSE(back.LoadKMB(folder.Native("missing.kmb").c_str()));
}

TEST(KmbFileDeathTest, AnInvalidHeaderEndsTheProgram) {
    const std::uint8_t image[] = {2, 0, 0, 0};
    CMesh root;
    EXPECT_EXIT(OMBRELLoadKMB(&root, image, sizeof image, nullptr), testing::ExitedWithCode(3),
                "invalid header");
}

} // namespace
