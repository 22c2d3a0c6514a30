// Reads arbitrary bytes as a KMT mesh, then puts what loaded through a KMB image and back and animates it.
#include "FuzzMeshTextures.h"
#include "engine/KmbFile.h"
#include "engine/KmtReader.h"
#include "engine/Mesh.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zentrix;

namespace {

void IgnoreFatal(const char*) {}

void Exercise(CEntity* node) {
    if (auto* mesh = dynamic_cast<CMesh*>(node)) {
        mesh->SetAnimFrame(1.5f, false);
        mesh->SortFaces(false);
        mesh->UpdateVertexBuffer();
    }
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        Exercise(child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetKmtFatalHandler(IgnoreFatal);
    FuzzMeshTextures textures;
    CMesh root;
    if (!KMTLoadFromMemory(data, size, "fuzz.kmt", &root, true)) {
        if (root.GetFirstChild())
            std::abort();
        return 0;
    }
    Exercise(&root);
    const std::vector<std::uint8_t> image = SaveKMBImage(&root, nullptr);
    CMesh back;
    if (!OMBRELLoadKMB(&back, image.data(), image.size(), nullptr))
        std::abort();
    return 0;
}
