#pragma once

#include "engine/MeshRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrix {

class CEntity;
class CMesh;

/// A vertex's fields in the order the mesh files store them: x, y, z, nx, ny, nz.
inline std::array<float, 6> VertexFields(const MeshVertex& v) {
    return {v.x, v.y, v.z, v.nx, v.ny, v.nz};
}
inline void SetVertexFields(MeshVertex& v, const std::array<float, 6>& f) {
    v.x = f[0], v.y = f[1], v.z = f[2], v.nx = f[3], v.ny = f[4], v.nz = f[5];
}

/// A face's corners: the vertex indices a, b and c.
inline std::array<std::uint32_t, 3> FaceCorners(const MeshFace& f) {
    return {f.a, f.b, f.c};
}

/// A face's texture coordinates in the order the mesh files store them: tu0, tv0, tu1, tv1, tu2, tv2.
inline std::array<float, 6> FaceCoords(const MeshFace& f) {
    return {f.tu0, f.tv0, f.tu1, f.tv1, f.tu2, f.tv2};
}
inline void SetFaceCoords(MeshFace& f, const std::array<float, 6>& c) {
    f.tu0 = c[0], f.tv0 = c[1], f.tu1 = c[2], f.tv1 = c[3], f.tu2 = c[4], f.tv2 = c[5];
}

/// The application's own block of a KMB file, opaque to the engine.
struct KmbAppData {
    std::vector<std::uint8_t> bytes;
};

/// Reads a KMB image into the root mesh: its frames become meshes below it. With appData, the file's
/// application data is kept there. False, logged to the engine log and with nothing added, when the
/// image is not a whole, consistent KMB; an invalid header kind ends the program.
bool OMBRELLoadKMB(CMesh* root, const std::uint8_t* data, std::size_t size, KmbAppData* appData);

/// Reads a KMB file into the root mesh; a file that cannot be opened is logged under the reporter's
/// name.
bool LoadKMBFile(const char* fileName, CMesh* root, KmbAppData* appData, const char* reporter);

/// The KMB image of the meshes below the root (the root itself is not stored).
std::vector<std::uint8_t> SaveKMBImage(const CEntity* root, const KmbAppData* appData);

/// Writes the meshes below the root as a KMB file with no application data; false when it cannot.
bool WriteKMB(const char* fileName, const CEntity* root);

/// Writes the meshes below the root and the application data as a KMB file; false when it cannot.
bool WriteKMBWithData(const char* fileName, const CEntity* root, const KmbAppData* appData);

} // namespace zentrix
