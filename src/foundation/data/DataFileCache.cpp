#include "foundation/data/DataFileCache.h"

namespace zentrix {

namespace {
int g_liveCaches = 0;
} // namespace

CDataFileCache::CDataFileCache(const CDataDictionary& dictionary, CAssetByteSource& source)
    : m_dictionary(dictionary), m_source(source) {
    ++g_liveCaches;
}

CDataFileCache::~CDataFileCache() {
    --g_liveCaches;
}

int CDataFileCache::GetLiveCount() {
    return g_liveCaches;
}

CDataFile* CDataFileCache::GetDataFile(std::int32_t assetId) {
    if (m_last < m_files.size() && m_files[m_last].second == assetId)
        return m_files[m_last].first.get();
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i].second == assetId) {
            m_last = i;
            return m_files[i].first.get();
        }
    }
    auto file = std::make_unique<CDataFile>(m_dictionary, &m_source);
    if (!file->LoadFromAsset(assetId, true))
        return nullptr;
    m_files.emplace_back(std::move(file), assetId);
    m_last = m_files.size() - 1;
    return m_files.back().first.get();
}

} // namespace zentrix
