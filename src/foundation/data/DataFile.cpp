#include "foundation/data/DataFile.h"

#include "foundation/base/Messages.h"
#include "foundation/data/AssetByteSource.h"
#include "foundation/data/DataBytes.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zentrix {

namespace {

int g_liveFiles = 0;

// Bytes of one element of a value type; 1 for text, whose single element is the whole text.
std::size_t ElementSize(std::uint32_t type) {
    return type == CDataDictionary::kTypeVector ? 12 : type == CDataDictionary::kTypeText ? 1 : 4;
}

void Refuse(std::int32_t assetId, const char* why) {
    DebugOutput(("data file " + std::to_string(assetId) + ": " + why + "\n").c_str());
}

// A record that a getter could read past, or whose text has no end, is left out at load, so every
// element that GetCount claims is there.
bool Readable(std::uint32_t type, int last, std::span<const std::uint8_t> values) {
    if (last < 0 || type > CDataDictionary::kTypeText)
        return false;
    if (type == CDataDictionary::kTypeText)
        return last == 0 && std::memchr(values.data(), 0, values.size()) != nullptr;
    return values.size() / ElementSize(type) >= static_cast<std::size_t>(last) + 1;
}

} // namespace

CDataFile::CDataFile(const CDataDictionary& dictionary, CAssetByteSource* source)
    : m_slots(static_cast<std::size_t>(dictionary.GetSlotCount())), m_dictionary(dictionary),
      m_source(source) {
    ++g_liveFiles;
}

CDataFile::~CDataFile() {
    --g_liveFiles;
}

int CDataFile::GetLiveCount() {
    return g_liveFiles;
}

bool CDataFile::LoadFromAsset(std::int32_t assetId, bool inPlace) {
    Clear();
    m_assetId = assetId;
    m_inPlace = inPlace;
    std::vector<std::uint8_t> bytes;
    if (m_source != nullptr)
        bytes = m_source->GetAssetBytes(assetId);
    if (bytes.empty()) {
        Refuse(assetId, "the asset has no data");
        return false;
    }
    return LoadFromMemory(std::move(bytes), inPlace);
}

bool CDataFile::LoadFromMemory(std::vector<std::uint8_t> block, bool inPlace) {
    Clear();
    m_inPlace = inPlace;
    const std::size_t size = block.size();
    if (size < kHeaderSize || DataBytes::ReadU32(block.data()) != kKind ||
        DataBytes::ReadU32(block.data() + 4) != kVersion) {
        Refuse(m_assetId, "not a data file of version 2");
        return false;
    }
    m_block = std::move(block);
    m_blockSize = static_cast<std::int64_t>(size);
    const std::uint8_t* base = m_block.data();
    std::size_t offset = kHeaderSize;
    while (offset < size) {
        if (size - offset < kRecordHeadSize) {
            Refuse(m_assetId, "a value record is cut short; the rest is ignored");
            break;
        }
        const std::uint8_t* head = base + offset;
        const std::int32_t id = DataBytes::ReadI32(head);
        const std::uint32_t type = DataBytes::ReadU32(head + 4);
        const std::int16_t bytes = DataBytes::ReadI16(head + 8);
        const std::int16_t last = DataBytes::ReadI16(head + 10);
        // A negative size would make the walk stand still or run backwards.
        if (bytes < 0 || static_cast<std::size_t>(bytes) > size - offset - kRecordHeadSize) {
            Refuse(m_assetId, "a value record reaches past the block; the rest is ignored");
            break;
        }
        const std::span<const std::uint8_t> values(head + kRecordHeadSize, static_cast<std::size_t>(bytes));
        if (id >= 0 && static_cast<std::size_t>(id) < m_slots.size() && Readable(type, last, values)) {
            auto record = std::make_unique<TValueRecord>();
            record->type = type;
            record->last = last;
            if (inPlace) {
                record->values = values;
            } else {
                record->owned.assign(values.begin(), values.end());
                record->values = record->owned;
            }
            m_slots[static_cast<std::size_t>(id)] = std::move(record);
        }
        offset += kRecordHeadSize + static_cast<std::size_t>(bytes);
    }
    m_loaded = true;
    return true;
}

void CDataFile::Clear() {
    for (auto& slot : m_slots)
        slot.reset();
    m_block.clear();
    m_block.shrink_to_fit();
    m_blockSize = -1;
    m_loaded = false;
}

const CDataFile::TValueRecord* CDataFile::Find(TDataID id, std::uint32_t type) const {
    if (id < 0 || static_cast<std::size_t>(id) >= m_slots.size())
        return nullptr;
    const TValueRecord* record = m_slots[static_cast<std::size_t>(id)].get();
    return record != nullptr && record->type == type ? record : nullptr;
}

bool CDataFile::CheckQuery(TDataID id, std::uint32_t type) const {
    if (id != 0 && !IsInFormat(id))
        return false;
    const CDataDictionary::TDataIDRecord* declared = m_dictionary.GetRecord(id);
    return declared != nullptr && declared->type == type;
}

bool CDataFile::GetInt(TDataID id, std::int32_t& out, int index) const {
    if (index < 0 || !CheckQuery(id, CDataDictionary::kTypeInt))
        return false;
    const TValueRecord* record = Find(id, CDataDictionary::kTypeInt);
    if (record != nullptr && record->last >= index) {
        out = DataBytes::ReadI32(record->values.data() + 4 * static_cast<std::size_t>(index));
        return true;
    }
    return m_dictionary.GetIntDefault(id, out);
}

bool CDataFile::GetFloat(TDataID id, float& out, int index) const {
    if (index < 0 || !CheckQuery(id, CDataDictionary::kTypeFloat))
        return false;
    const TValueRecord* record = Find(id, CDataDictionary::kTypeFloat);
    if (record != nullptr && record->last >= index) {
        out = DataBytes::ReadF32(record->values.data() + 4 * static_cast<std::size_t>(index));
        return true;
    }
    return m_dictionary.GetFloatDefault(id, out);
}

bool CDataFile::GetVector(TDataID id, CVector& out, int index) const {
    if (index < 0 || !CheckQuery(id, CDataDictionary::kTypeVector))
        return false;
    const TValueRecord* record = Find(id, CDataDictionary::kTypeVector);
    if (record != nullptr && record->last >= index) {
        const std::uint8_t* p = record->values.data() + 12 * static_cast<std::size_t>(index);
        out.Set(DataBytes::ReadF32(p), DataBytes::ReadF32(p + 4), DataBytes::ReadF32(p + 8));
        return true;
    }
    return m_dictionary.GetVectorDefault(id, out);
}

bool CDataFile::GetText(TDataID id, char* buffer, std::size_t capacity) const {
    if (buffer == nullptr || capacity == 0 || !CheckQuery(id, CDataDictionary::kTypeText))
        return false;
    std::size_t length = 0;
    if (const TValueRecord* record = Find(id, CDataDictionary::kTypeText)) {
        const auto* text = reinterpret_cast<const char*>(record->values.data());
        length = std::min(strnlen(text, record->values.size()), capacity - 1);
        std::memcpy(buffer, text, length);
    }
    buffer[length] = '\0';
    return true;
}

int CDataFile::GetCount(TDataID id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= m_slots.size() || !m_slots[static_cast<std::size_t>(id)])
        return 0;
    return m_slots[static_cast<std::size_t>(id)]->last + 1;
}

bool CDataFile::IsInFormat(TDataID id) const {
    std::int32_t formatId = 0;
    if (!GetInt(0, formatId, 0))
        return false;
    const CDataDictionary::TFormatRecord* format = m_dictionary.GetFormat(formatId);
    return format != nullptr && format->Contains(id);
}

CDataFile::SetResult CDataFile::Store(TDataID id, std::uint32_t type, std::size_t count,
                                      std::vector<std::uint8_t> bytes) {
    const CDataDictionary::TDataIDRecord* declared = m_dictionary.GetRecord(id);
    if (declared == nullptr || static_cast<std::size_t>(id) >= m_slots.size())
        return SetResult::kUnknownId;
    if (declared->type != type)
        return SetResult::kWrongType;
    if (id != 0 && !IsInFormat(id))
        return SetResult::kNotInFormat;
    const std::size_t limit = type == CDataDictionary::kTypeVector ? kMaxVectors
                              : type == CDataDictionary::kTypeText ? kMaxTextBytes
                                                                   : kMaxScalars;
    if ((type == CDataDictionary::kTypeText ? bytes.size() : count) > limit)
        return SetResult::kTooMany;
    auto& slot = m_slots[static_cast<std::size_t>(id)];
    if (count == 0) {
        slot.reset();
        return SetResult::kSet;
    }
    slot = std::make_unique<TValueRecord>();
    slot->type = type;
    slot->last = static_cast<int>(count) - 1;
    slot->owned = std::move(bytes);
    slot->values = slot->owned;
    return SetResult::kSet;
}

CDataFile::SetResult CDataFile::SetInts(TDataID id, std::span<const std::int32_t> values) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t v : values)
        DataBytes::Append32(bytes, static_cast<std::uint32_t>(v));
    return Store(id, CDataDictionary::kTypeInt, values.size(), std::move(bytes));
}

CDataFile::SetResult CDataFile::SetFloats(TDataID id, std::span<const float> values) {
    std::vector<std::uint8_t> bytes(values.size() * 4);
    for (std::size_t i = 0; i < values.size(); ++i)
        DataBytes::WriteF32(bytes.data() + 4 * i, values[i]);
    return Store(id, CDataDictionary::kTypeFloat, values.size(), std::move(bytes));
}

CDataFile::SetResult CDataFile::SetVectors(TDataID id, std::span<const CVector> values) {
    std::vector<std::uint8_t> bytes(values.size() * 12);
    for (std::size_t i = 0; i < values.size(); ++i) {
        DataBytes::WriteF32(bytes.data() + 12 * i, values[i].x);
        DataBytes::WriteF32(bytes.data() + 12 * i + 4, values[i].y);
        DataBytes::WriteF32(bytes.data() + 12 * i + 8, values[i].z);
    }
    return Store(id, CDataDictionary::kTypeVector, values.size(), std::move(bytes));
}

CDataFile::SetResult CDataFile::SetText(TDataID id, std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return Store(id, CDataDictionary::kTypeText, 1, std::move(bytes));
}

std::vector<std::uint8_t> CDataFile::WriteToMemory(std::string_view user) const {
    std::vector<std::uint8_t> block;
    DataBytes::Append32(block, kKind);
    DataBytes::Append32(block, kVersion);
    DataBytes::Append32(block, 0xFFFFFFFFu);
    auto append = [&block](TDataID id, std::uint32_t type, int last, std::span<const std::uint8_t> values) {
        DataBytes::Append32(block, static_cast<std::uint32_t>(id));
        DataBytes::Append32(block, type);
        DataBytes::Append16(block, static_cast<std::int32_t>(values.size()));
        DataBytes::Append16(block, last);
        block.insert(block.end(), values.begin(), values.end());
    };
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
        const auto id = static_cast<TDataID>(slot);
        const CDataDictionary::TDataIDRecord* declared = m_dictionary.GetRecord(id);
        if (declared == nullptr || (id != 0 && !IsInFormat(id)))
            continue;
        if (id == 1 && declared->type == CDataDictionary::kTypeText) {
            const std::string name(user.substr(0, kMaxTextBytes - 1));
            if (!name.empty())
                append(id, CDataDictionary::kTypeText, 0,
                       {reinterpret_cast<const std::uint8_t*>(name.c_str()), name.size() + 1});
            continue;
        }
        const TValueRecord* record = m_slots[slot].get();
        if (record == nullptr || record->type != declared->type)
            continue;
        if (record->type == CDataDictionary::kTypeText) {
            if (record->values.empty() || record->values[0] == 0)
                continue;
        } else if (record->last == 0 && std::memcmp(record->values.data(), declared->defaultValue,
                                                    ElementSize(record->type)) == 0) {
            continue;
        }
        append(id, record->type, record->last, record->values);
    }
    return block;
}

} // namespace zentrix
