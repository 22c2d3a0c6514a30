#pragma once

#include <cstddef>
#include <cstdint>

namespace zentrix {

class CMesh;

/// Reads a KMT text mesh file into the root mesh: each top-level object becomes a child mesh of it.
/// With keepSmoothingGroups the meshes keep their smoothing groups. False, logged to the engine log and
/// with nothing added to the root, when the file cannot be opened or read.
bool KMTLoad(const char* fileName, CMesh* root, bool keepSmoothingGroups);

/// KMTLoad on a file's bytes held in memory; fileName only names the file in messages.
bool KMTLoadFromMemory(const std::uint8_t* data, std::size_t size, const char* fileName, CMesh* root,
                       bool keepSmoothingGroups);

/// What a KMT reader does with a file it must refuse as a programming fault (vertex colours before the
/// vertices): by default the program ends; a handler that returns makes the load fail instead.
using KmtFatalHandler = void (*)(const char* message);
void SetKmtFatalHandler(KmtFatalHandler handler);

} // namespace zentrix
