#pragma once

#include "foundation/data/DataFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace zentrix {

class CAssetByteSource;
class CDataDictionary;

/// The data files loaded so far, by asset id, in load order. Nothing is evicted: files live until the
/// cache goes (with the asset manager's stop). A file that fails to load is not remembered.
class CDataFileCache {
public:
    /// A cache whose files use the dictionary and read their assets through source.
    CDataFileCache(const CDataDictionary& dictionary, CAssetByteSource& source);
    virtual ~CDataFileCache();
    CDataFileCache(const CDataFileCache&) = delete;
    CDataFileCache& operator=(const CDataFileCache&) = delete;

    /// The asset's data file, loaded in place on the first request; null when it cannot be loaded.
    CDataFile* GetDataFile(std::int32_t assetId);
    /// The number of files held.
    std::size_t GetFileCount() const { return m_files.size(); }
    /// The number of caches alive in the process.
    static int GetLiveCount();

private:
    const CDataDictionary& m_dictionary;
    CAssetByteSource& m_source;
    std::vector<std::pair<std::unique_ptr<CDataFile>, std::int32_t>> m_files;
    std::size_t m_last = 0; ///< index of the pair returned last; checked first
};

} // namespace zentrix
