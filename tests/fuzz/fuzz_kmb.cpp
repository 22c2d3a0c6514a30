// Reads arbitrary bytes as a KMB mesh (an invalid header kind ends the program by design, so those are
// left out), animates and buffers what loaded, and writes it again.
#include "FuzzMeshTextures.h"
#include "engine/KmbFile.h"
#include "engine/Mesh.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zentrix;

namespace {

void Exercise(CEntity* node) {
    if (auto* mesh = dynamic_cast<CMesh*>(node)) {
        mesh->PrecomputeFrames();
        mesh->SetAnimFrame(-2.5f, false);
        mesh->SortFaces(false);
        mesh->UpdateVertexBuffer();
    }
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        Exercise(child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 4 && (data[0] > 1 || data[1] || data[2] || data[3]))
        return 0;
    FuzzMeshTextures textures;
    CMesh root;
    KmbAppData appData;
    if (!OMBRELLoadKMB(&root, data, size, &appData))
        return 0;
    Exercise(&root);
    const std::vector<std::uint8_t> image = SaveKMBImage(&root, &appData);
    CMesh back;
    if (!OMBRELLoadKMB(&back, image.data(), image.size(), nullptr))
        std::abort();
    return 0;
}
