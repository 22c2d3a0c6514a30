#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zentrix {

class CMesh;

/// Reads a KMT text mesh file into the root mesh: each top-level object becomes a child mesh of it.
/// With keepSmoothingGroups the meshes keep the smoothing groups their files give. A block or list ends
/// at the first item that does not match and the file is read on from there (the first such place is
/// logged to the engine log): any file that opens loads what could be read. False, logged, with nothing
/// added to the root, when the file cannot be opened (or the fatal handler returned).
bool KMTLoad(const char* fileName, CMesh* root, bool keepSmoothingGroups);

/// KMTLoad on a file's bytes held in memory; fileName only names the file in messages. drift (may be
/// null) receives where the file first left the format, or "" when it never did.
bool KMTLoadFromMemory(const std::uint8_t* data, std::size_t size, const char* fileName, CMesh* root,
                       bool keepSmoothingGroups, std::string* drift = nullptr);

/// What a KMT reader does with a file it must refuse as a programming fault (vertex colours before the
/// vertices): by default the program ends; a handler that returns makes the load fail instead.
using KmtFatalHandler = void (*)(const char* message);
void SetKmtFatalHandler(KmtFatalHandler handler);

} // namespace zentrix
