#include "foundation/data/DataDictionary.h"

#include "foundation/base/Messages.h"
#include "foundation/data/DataBytes.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zentrix {

namespace {

// Offsets inside a dictionary record.
constexpr std::size_t kRecordType = 4;
constexpr std::size_t kRecordDefaultSize = 8;
constexpr std::size_t kRecordName = 12;
constexpr std::size_t kRecordDescription = 33;
constexpr std::size_t kRecordDefault = 289;

// The longest format the 16-bit body length can describe.
constexpr std::size_t kMaxFormatIds = (32767 - CDataDictionary::kFormatBodyBase) / 4;

void Refuse(const char* what, const char* why) {
    DebugOutput((std::string(what) + ": " + why + "\n").c_str());
}

// Checks the 12-byte head shared by both blocks.
bool CheckHeader(const std::uint8_t* block, std::size_t size, std::uint32_t kind, const char* what) {
    if (block == nullptr || size < CDataDictionary::kHeaderSize) {
        Refuse(what, "block shorter than its 12-byte header");
        return false;
    }
    if (DataBytes::ReadU32(block) != kind || DataBytes::ReadU32(block + 4) != CDataDictionary::kVersion) {
        Refuse(what, "wrong kind or version");
        return false;
    }
    return true;
}

// The header's slot count, kept within 0..kMaxSlots.
std::size_t SlotCount(const std::uint8_t* block) {
    return static_cast<std::size_t>(std::clamp(DataBytes::ReadI32(block + 8), 0, CDataDictionary::kMaxSlots));
}

// Copies a fixed-size text field, forcing its last byte to NUL.
void CopyField(char* to, const std::uint8_t* from, std::size_t size) {
    std::memcpy(to, from, size);
    to[size - 1] = '\0';
}

void SetField(char* to, std::size_t size, std::string_view text) {
    std::memset(to, 0, size);
    std::memcpy(to, text.data(), std::min(text.size(), size - 1));
}

bool ValidSlot(std::int32_t id) {
    return id >= 0 && id < CDataDictionary::kMaxSlots;
}

} // namespace

void CDataDictionary::TDataIDRecord::SetTexts(std::string_view nameIn, std::string_view descriptionIn) {
    SetField(name, sizeof name, nameIn);
    SetField(description, sizeof description, descriptionIn);
}

void CDataDictionary::TDataIDRecord::SetIntDefault(std::int32_t value) {
    type = kTypeInt;
    defaultSize = 4;
    std::memset(defaultValue, 0, sizeof defaultValue);
    DataBytes::WriteU32(defaultValue, static_cast<std::uint32_t>(value));
}

void CDataDictionary::TDataIDRecord::SetFloatDefault(float value) {
    type = kTypeFloat;
    defaultSize = 4;
    std::memset(defaultValue, 0, sizeof defaultValue);
    DataBytes::WriteF32(defaultValue, value);
}

void CDataDictionary::TDataIDRecord::SetVectorDefault(const CVector& value) {
    type = kTypeVector;
    defaultSize = 12;
    std::memset(defaultValue, 0, sizeof defaultValue);
    DataBytes::WriteF32(defaultValue, value.x);
    DataBytes::WriteF32(defaultValue + 4, value.y);
    DataBytes::WriteF32(defaultValue + 8, value.z);
}

void CDataDictionary::TDataIDRecord::SetText() {
    type = kTypeText;
    defaultSize = 0;
    std::memset(defaultValue, 0, sizeof defaultValue);
}

void CDataDictionary::TFormatRecord::SetName(std::string_view nameIn) {
    SetField(name, sizeof name, nameIn);
}

bool CDataDictionary::TFormatRecord::Contains(TDataID id) const {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool CDataDictionary::LoadFromMemory(const std::uint8_t* block, std::size_t size) {
    m_records.clear();
    if (!CheckHeader(block, size, kDictionaryKind, "data dictionary"))
        return false;
    m_records.resize(SlotCount(block));
    // Only whole records count; a cut last record is left out.
    for (std::size_t offset = kHeaderSize; size - offset >= kRecordSize; offset += kRecordSize) {
        const std::uint8_t* raw = block + offset;
        TDataIDRecord record;
        record.id = DataBytes::ReadI32(raw);
        record.type = DataBytes::ReadU32(raw + kRecordType);
        record.defaultSize = DataBytes::ReadU32(raw + kRecordDefaultSize);
        CopyField(record.name, raw + kRecordName, kNameSize);
        CopyField(record.description, raw + kRecordDescription, kDescriptionSize);
        std::memcpy(record.defaultValue, raw + kRecordDefault, kDefaultSize);
        AddRecord(record);
    }
    return true;
}

bool CDataDictionary::LoadFormatsFromMemory(const std::uint8_t* block, std::size_t size) {
    m_formats.clear();
    if (!CheckHeader(block, size, kFormatKind, "format table"))
        return false;
    m_formats.resize(SlotCount(block));
    std::size_t offset = kHeaderSize;
    while (offset < size) {
        if (size - offset < kHeaderSize)
            break;
        const std::uint8_t* raw = block + offset;
        const std::int32_t id = DataBytes::ReadI32(raw);
        const std::uint32_t type = DataBytes::ReadU32(raw + 4);
        const std::int16_t body = DataBytes::ReadI16(raw + 8);
        const std::int16_t last = DataBytes::ReadI16(raw + 10);
        // A body too short for a name, or reaching past the block, ends the walk: a negative or tiny
        // length would make it stand still or run backwards.
        if (body < static_cast<std::int16_t>(kFormatBodyBase) ||
            static_cast<std::size_t>(body) > size - offset - kHeaderSize) {
            Refuse("format table", "record length out of bounds; the rest is ignored");
            break;
        }
        const std::size_t count = last >= 0 ? static_cast<std::size_t>(last) + 1 : 0;
        if (type == kTypeFormat && count > 0 &&
            kFormatBodyBase + 4 * count <= static_cast<std::size_t>(body)) {
            TFormatRecord format;
            CopyField(format.name, raw + kHeaderSize, kNameSize);
            const std::uint8_t* ids = raw + kHeaderSize + kFormatBodyBase;
            for (std::size_t i = 0; i < count; ++i)
                format.ids.push_back(DataBytes::ReadI32(ids + 4 * i));
            SetFormat(id, format);
        }
        offset += kHeaderSize + static_cast<std::size_t>(body);
    }
    return true;
}

const CDataDictionary::TDataIDRecord* CDataDictionary::GetRecord(TDataID id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= m_records.size())
        return nullptr;
    return m_records[static_cast<std::size_t>(id)].get();
}

const CDataDictionary::TFormatRecord* CDataDictionary::GetFormat(std::int32_t formatId) const {
    if (formatId < 0 || static_cast<std::size_t>(formatId) >= m_formats.size())
        return nullptr;
    return m_formats[static_cast<std::size_t>(formatId)].get();
}

bool CDataDictionary::GetIntDefault(TDataID id, std::int32_t& out) const {
    const TDataIDRecord* record = GetRecord(id);
    if (record == nullptr || record->type != kTypeInt)
        return false;
    out = DataBytes::ReadI32(record->defaultValue);
    return true;
}

bool CDataDictionary::GetFloatDefault(TDataID id, float& out) const {
    const TDataIDRecord* record = GetRecord(id);
    if (record == nullptr || record->type != kTypeFloat)
        return false;
    out = DataBytes::ReadF32(record->defaultValue);
    return true;
}

bool CDataDictionary::GetVectorDefault(TDataID id, CVector& out) const {
    const TDataIDRecord* record = GetRecord(id);
    if (record == nullptr || record->type != kTypeVector)
        return false;
    out.Set(DataBytes::ReadF32(record->defaultValue), DataBytes::ReadF32(record->defaultValue + 4),
            DataBytes::ReadF32(record->defaultValue + 8));
    return true;
}

bool CDataDictionary::AddRecord(const TDataIDRecord& record) {
    if (!ValidSlot(record.id))
        return false;
    const auto slot = static_cast<std::size_t>(record.id);
    if (slot >= m_records.size())
        m_records.resize(slot + 1);
    m_records[slot] = std::make_unique<TDataIDRecord>(record);
    return true;
}

bool CDataDictionary::SetFormat(std::int32_t formatId, const TFormatRecord& format) {
    if (!ValidSlot(formatId) || format.ids.size() > kMaxFormatIds)
        return false;
    const auto slot = static_cast<std::size_t>(formatId);
    if (slot >= m_formats.size())
        m_formats.resize(slot + 1);
    m_formats[slot] = std::make_unique<TFormatRecord>(format);
    return true;
}

std::vector<std::uint8_t> CDataDictionary::WriteToMemory() const {
    std::vector<std::uint8_t> block;
    DataBytes::Append32(block, kDictionaryKind);
    DataBytes::Append32(block, kVersion);
    DataBytes::Append32(block, static_cast<std::uint32_t>(m_records.size()));
    for (const auto& record : m_records) {
        if (!record)
            continue;
        const std::size_t start = block.size();
        block.resize(start + kRecordSize, 0);
        std::uint8_t* raw = block.data() + start;
        DataBytes::WriteU32(raw, static_cast<std::uint32_t>(record->id));
        DataBytes::WriteU32(raw + kRecordType, record->type);
        DataBytes::WriteU32(raw + kRecordDefaultSize, record->defaultSize);
        std::memcpy(raw + kRecordName, record->name, kNameSize);
        std::memcpy(raw + kRecordDescription, record->description, kDescriptionSize);
        std::memcpy(raw + kRecordDefault, record->defaultValue, kDefaultSize);
    }
    return block;
}

std::vector<std::uint8_t> CDataDictionary::WriteFormatsToMemory() const {
    std::vector<std::uint8_t> block;
    DataBytes::Append32(block, kFormatKind);
    DataBytes::Append32(block, kVersion);
    DataBytes::Append32(block, static_cast<std::uint32_t>(m_formats.size()));
    for (std::size_t id = 0; id < m_formats.size(); ++id) {
        const TFormatRecord* format = m_formats[id].get();
        if (format == nullptr)
            continue;
        DataBytes::Append32(block, static_cast<std::uint32_t>(id));
        DataBytes::Append32(block, kTypeFormat);
        DataBytes::Append16(block, static_cast<std::int32_t>(kFormatBodyBase + 4 * format->ids.size()));
        DataBytes::Append16(block, static_cast<std::int32_t>(format->ids.size()) - 1);
        block.insert(block.end(), format->name, format->name + kNameSize);
        for (TDataID dataId : format->ids)
            DataBytes::Append32(block, static_cast<std::uint32_t>(dataId));
    }
    return block;
}

} // namespace zentrix
