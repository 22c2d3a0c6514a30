#pragma once

#include "Pictures.h"
#include "foundation/data/DataDictionary.h"
#include "foundation/data/DataFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace zentrix;

/// The readable sources of the sample resource set (data/sample/): the dictionary, the formats and the
/// manifest of assets, read and checked against each other. Every error names its file and line.
namespace mkdata {

/// How an asset's content is made.
enum class Content {
    kDictionary,
    kFormats,
    kData,
    kFont,
    kTga,
    kPointer,
    kFramed,
    kRawVideo,
    kWav,
    kMidi,
    kSoundFont,
    kText,
    kFile,
    kKmb,
    kScript,
    kPicture,
    kButton,
    kBinary
};

/// One field line of a data asset, as written.
struct Field {
    CDataDictionary::TDataID id = 0;
    int line = 0;
    std::vector<std::int32_t> ints;
    std::vector<float> floats;
    std::vector<CVector> vectors;
    std::string text;
};

/// One asset line of the manifest with its fields.
struct Asset {
    std::int32_t id = 0;
    std::string path;         ///< relative to the resource path, "\" separated
    std::string store;        ///< "loose" or a library name ("[Library]" .. "[Library7]")
    std::uint32_t method = 0; ///< 0 stored, 1 Huffman, 2 zlib (libraries only)
    Content content = Content::kData;
    std::vector<std::string> args;   ///< the words after the content keyword
    std::string text;                ///< kText: the rest of the line; kButton: the label
    std::int32_t formatId = 0;       ///< kData
    std::vector<Field> fields;       ///< kData
    std::unique_ptr<CDataFile> data; ///< kData: the fields, checked by the dictionary
    std::vector<DrawStep> steps;     ///< kPicture, kRawVideo: what is drawn on it, in order
    int line = 0;
};

/// Everything read from the sources.
struct Sources {
    std::string folder;
    CDataDictionary dictionary;
    std::vector<Asset> assets;
};

/// The user name written into every data file.
inline constexpr const char* kUser = "sample";

/// Reads dictionary.txt, formats.txt and manifest.txt from folder; false with "file:line: why" in error.
bool ReadSources(const std::string& folder, Sources& sources, std::string& error);

/// The name of a value type in the sources ("int", "float", "vector", "text").
const char* TypeName(std::uint32_t type);

} // namespace mkdata
