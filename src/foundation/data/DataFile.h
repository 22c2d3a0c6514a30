#pragma once

#include "foundation/data/DataDictionary.h"
#include "foundation/math/Vector.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace zentrix {

class CAssetByteSource;

/// The tuning values of one asset: a sparse set of typed values addressed by data id. Only values that
/// differ from the dictionary's defaults are stored; a query for a missing value gives the default.
/// The game only reads data files; the setters and the writer serve the tools and the tests.
class CDataFile {
public:
    using TDataID = CDataDictionary::TDataID;

    static constexpr std::uint32_t kKind = 2;
    static constexpr std::uint32_t kVersion = 2;
    static constexpr std::size_t kHeaderSize = 12;
    static constexpr std::size_t kRecordHeadSize = 12;
    static constexpr std::size_t kMaxScalars = 256;    ///< integers or floats in one value
    static constexpr std::size_t kMaxVectors = 85;     ///< vectors in one value
    static constexpr std::size_t kMaxTextBytes = 1024; ///< a text with its NUL

    /// Outcome of a setter.
    enum class SetResult { kSet, kUnknownId, kWrongType, kNotInFormat, kTooMany };

    /// An empty file for ids of the dictionary; assets are read through source (may be null).
    explicit CDataFile(const CDataDictionary& dictionary, CAssetByteSource* source = nullptr);
    virtual ~CDataFile();
    CDataFile(const CDataFile&) = delete;
    CDataFile& operator=(const CDataFile&) = delete;

    /// Loads the asset's bytes from the byte source; false when there are none or they are no data file.
    bool LoadFromAsset(std::int32_t assetId, bool inPlace);
    /// Loads a data-file block; in place the values stay in the block, otherwise each is copied.
    bool LoadFromMemory(std::vector<std::uint8_t> block, bool inPlace);

    /// Element index of an integer id: false when the id is outside the format or of another type,
    /// else true with the stored element or the default.
    bool GetInt(TDataID id, std::int32_t& out, int index = 0) const;
    /// Element index of a float id (as GetInt).
    bool GetFloat(TDataID id, float& out, int index = 0) const;
    /// Element index of a vector id (as GetInt).
    bool GetVector(TDataID id, CVector& out, int index = 0) const;
    /// A text id: at most capacity - 1 characters and a NUL; the empty text when none is stored.
    bool GetText(TDataID id, char* buffer, std::size_t capacity) const;
    /// The number of stored elements of an id; 0 when none is stored.
    int GetCount(TDataID id) const;
    /// True when the file's format lists the id.
    bool IsInFormat(TDataID id) const;
    /// Forgets every value and the block.
    void Clear();

    /// Stores integers under an id (the format id 0 first: the other ids must be in its format).
    SetResult SetInts(TDataID id, std::span<const std::int32_t> values);
    /// Stores floats under an id.
    SetResult SetFloats(TDataID id, std::span<const float> values);
    /// Stores vectors under an id.
    SetResult SetVectors(TDataID id, std::span<const CVector> values);
    /// Stores a text (without NUL) under an id.
    SetResult SetText(TDataID id, std::string_view text);
    /// The file as a block, as stored files are written: data id 1 holds user, and values equal to the
    /// default (one element), empty texts and ids outside the format are left out.
    std::vector<std::uint8_t> WriteToMemory(std::string_view user) const;

    /// The asset id the file was loaded from (-1 before).
    std::int32_t GetAssetId() const { return m_assetId; }
    /// True after a successful load.
    bool IsLoaded() const { return m_loaded; }
    /// The number of data files alive in the process.
    static int GetLiveCount();

private:
    struct TValueRecord {
        std::uint32_t type = 0;
        int last = -1;
        std::span<const std::uint8_t> values; ///< into the block, or into owned
        std::vector<std::uint8_t> owned;
    };

    const TValueRecord* Find(TDataID id, std::uint32_t type) const;
    bool CheckQuery(TDataID id, std::uint32_t type) const;
    SetResult Store(TDataID id, std::uint32_t type, std::size_t count, std::vector<std::uint8_t> bytes);

    std::int32_t m_assetId = -1;
    bool m_loaded = false;
    std::vector<std::uint8_t> m_block;
    std::int64_t m_blockSize = -1;
    bool m_inPlace = false;
    std::vector<std::unique_ptr<TValueRecord>> m_slots;
    const CDataDictionary& m_dictionary;
    CAssetByteSource* m_source;
};

} // namespace zentrix
