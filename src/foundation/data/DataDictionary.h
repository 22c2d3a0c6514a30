#pragma once

#include "foundation/math/Vector.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// The data dictionary: every data id of the game's data files with its type, name, description and
/// default value, and the format table: named lists of the data ids a data file of each format may hold.
/// Both are loaded from blocks in memory (the asset manager's assets 1 and 2).
class CDataDictionary {
public:
    /// A data id.
    using TDataID = std::int32_t;

    /// Type codes of the values, and the code of a format record in the format table.
    enum : std::uint32_t { kTypeInt = 0, kTypeFloat = 1, kTypeVector = 2, kTypeText = 3, kTypeFormat = 4 };

    static constexpr std::size_t kHeaderSize = 12;  ///< kind, version, slot count
    static constexpr std::size_t kRecordSize = 328; ///< one dictionary record
    static constexpr std::size_t kNameSize = 21;    ///< record and format names, NUL included
    static constexpr std::size_t kDescriptionSize = 256;
    static constexpr std::size_t kDefaultSize = 39;
    static constexpr std::uint32_t kDictionaryKind = 0;
    static constexpr std::uint32_t kFormatKind = 1;
    static constexpr std::uint32_t kVersion = 2;
    /// Data ids and format ids read from a block lie in 0..kMaxSlots - 1; slot counts are capped to it.
    static constexpr std::int32_t kMaxSlots = 65536;
    /// Offset of the data ids in a format record (head 12 + name 21) and size of a body with no id.
    static constexpr std::size_t kFormatBodyBase = kNameSize;

    /// One declared data id, as a dictionary record holds it. Names and descriptions always end in a NUL.
    struct TDataIDRecord {
        TDataID id = 0;
        std::uint32_t type = kTypeInt;
        std::uint32_t defaultSize = 0;
        char name[kNameSize] = {};
        char description[kDescriptionSize] = {};
        std::uint8_t defaultValue[kDefaultSize] = {};

        /// Sets name and description, each cut to fit with its NUL.
        void SetTexts(std::string_view nameIn, std::string_view descriptionIn);
        /// Makes the record an integer id with this default.
        void SetIntDefault(std::int32_t value);
        /// Makes the record a float id with this default.
        void SetFloatDefault(float value);
        /// Makes the record a vector id with this default.
        void SetVectorDefault(const CVector& value);
        /// Makes the record a text id (whose default is the empty text).
        void SetText();
    };

    /// One format: its name and the data ids a file of it may hold, in table order.
    struct TFormatRecord {
        char name[kNameSize] = {};
        std::vector<TDataID> ids;

        /// Sets the name, cut to 20 characters.
        void SetName(std::string_view nameIn);
        /// True when id is one of the format's ids.
        bool Contains(TDataID id) const;
    };

    CDataDictionary() = default;
    virtual ~CDataDictionary() = default;
    CDataDictionary(const CDataDictionary&) = delete;
    CDataDictionary& operator=(const CDataDictionary&) = delete;

    /// Replaces the records with those of a dictionary block; false (and no record) when the block is not
    /// one. Records are copied, so the block need not outlive the dictionary.
    bool LoadFromMemory(const std::uint8_t* block, std::size_t size);
    /// Replaces the formats with those of a format-table block; false (and no format) when it is not one.
    bool LoadFormatsFromMemory(const std::uint8_t* block, std::size_t size);

    /// The record of a data id, or null.
    const TDataIDRecord* GetRecord(TDataID id) const;
    /// The format of a format id, or null.
    const TFormatRecord* GetFormat(std::int32_t formatId) const;
    /// The default of an integer id; false (out unchanged) for an unknown id or another type.
    bool GetIntDefault(TDataID id, std::int32_t& out) const;
    /// The default of a float id; false (out unchanged) for an unknown id or another type.
    bool GetFloatDefault(TDataID id, float& out) const;
    /// The default of a vector id; false (out unchanged) for an unknown id or another type.
    bool GetVectorDefault(TDataID id, CVector& out) const;

    /// Registers a record under its id (0..65535), replacing one of the same id; false for other ids.
    bool AddRecord(const TDataIDRecord& record);
    /// Stores a format under its id (0..65535); false for other ids.
    bool SetFormat(std::int32_t formatId, const TFormatRecord& format);

    /// The number of data-id slots: the files made with this dictionary hold values for ids below it.
    std::int32_t GetSlotCount() const { return static_cast<std::int32_t>(m_records.size()); }
    /// The number of format slots.
    std::int32_t GetFormatSlotCount() const { return static_cast<std::int32_t>(m_formats.size()); }

    /// The dictionary as a block that LoadFromMemory reads (records in id order).
    std::vector<std::uint8_t> WriteToMemory() const;
    /// The format table as a block that LoadFormatsFromMemory reads (formats in id order).
    std::vector<std::uint8_t> WriteFormatsToMemory() const;

private:
    std::vector<std::unique_ptr<TDataIDRecord>> m_records;
    std::vector<std::unique_ptr<TFormatRecord>> m_formats;
};

} // namespace zentrix
