#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CEntity;
class CMesh;

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
