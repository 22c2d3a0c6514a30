#include "world/WorldGrid.h"

#include "foundation/assets/AssetMan.h"
#include "world/TrackFileImage.h"
#include "world/TrackFileReader.h"
#include "world/TrackFileWriter.h"
#include "world/TrackObject.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace zentrix {

namespace {

int g_liveGrids = 0;

std::uint32_t WorldToIndex(float v) {
    // NaN and coordinates far beyond any grid lie in no cell rather than in an undefined conversion.
    if (!(v >= CWorldGrid::kLowLimit))
        return CWorldGrid::kNoIndex;
    const float index = (v - CWorldGrid::kOrigin + CWorldGrid::kTileSize / 2.0f) / CWorldGrid::kTileSize;
    return index < 4294967040.0f ? static_cast<std::uint32_t>(index) : CWorldGrid::kNoIndex;
}

float IndexToWorld(std::uint32_t i) {
    // The index -1 (no cell) lies one tile before cell 0.
    return static_cast<float>(static_cast<std::int32_t>(i)) * CWorldGrid::kTileSize + CWorldGrid::kOrigin;
}

std::uint32_t TruncatedIndex(float f) {
    const float t = std::trunc(f);
    return t >= -2147483648.0f && t < 2147483648.0f ? static_cast<std::uint32_t>(static_cast<std::int32_t>(t))
                                                    : CWorldGrid::kNoIndex;
}

float IndexAsFloat(std::uint32_t i) {
    return i == CWorldGrid::kNoIndex ? -1.0f : static_cast<float>(i);
}

} // namespace

CWorldGrid::CWorldGrid(std::uint32_t width, std::uint32_t depth) : m_width(width), m_depth(depth) {
    ++g_liveGrids;
    AllocateCells();
}

CWorldGrid::~CWorldGrid() {
    --g_liveGrids;
}

int CWorldGrid::LiveCount() {
    return g_liveGrids;
}

void CWorldGrid::AllocateCells() {
    m_cells.assign(static_cast<std::size_t>(m_width) * m_depth, CGridCell{});
}

void CWorldGrid::AllocateCells(std::uint32_t width, std::uint32_t depth) {
    m_width = width;
    m_depth = depth;
    AllocateCells();
}

void CWorldGrid::FreeCells() {
    m_cells.clear();
    m_width = 0;
    m_depth = 0;
    m_dirty = true;
}

CGridCell* CWorldGrid::GetCell(std::uint32_t x, std::uint32_t z) {
    return IsInside(x, z) ? &Cell(x, z) : nullptr;
}

const CGridCell* CWorldGrid::GetCell(std::uint32_t x, std::uint32_t z) const {
    return IsInside(x, z) ? &Cell(x, z) : nullptr;
}

float CWorldGrid::GetCellHeight(std::uint32_t x, std::uint32_t z) const {
    if (!IsInside(x, z))
        return 0.0f;
    const float height = Cell(x, z).height;
    return height == -1.0f ? 0.0f : height;
}

CWorldObject* CWorldGrid::GetCellObject(std::uint32_t x, std::uint32_t z) const {
    return IsInside(x, z) ? Cell(x, z).object : nullptr;
}

CTrackObject* CWorldGrid::GetPieceAt(std::uint32_t x, std::uint32_t z) const {
    if (!IsInside(x, z))
        return nullptr;
    const CGridCell& cell = Cell(x, z);
    if (cell.piece)
        return cell.piece;
    return cell.owner ? cell.owner->piece : nullptr;
}

bool CWorldGrid::IsCoveredCell(std::uint32_t x, std::uint32_t z) const {
    return IsInside(x, z) && Cell(x, z).owner != nullptr;
}

bool CWorldGrid::SetCellHeight(CWorldObject* object, std::uint32_t x, std::uint32_t z, float height,
                               bool checkPiece) {
    if (!IsInside(x, z))
        return false;
    if (checkPiece && GetPieceAt(x, z))
        return false;
    CGridCell& cell = Cell(x, z);
    if (cell.height < 0.0f)
        cell.object = object;
    cell.height = height;
    return true;
}

bool CWorldGrid::ResetCellHeight(CWorldObject* object, std::uint32_t x, std::uint32_t z, float height) {
    if (!IsInside(x, z))
        return false;
    Cell(x, z).height = -1.0f;
    Cell(x, z).object = nullptr;
    return SetCellHeight(object, x, z, height, false);
}

bool CWorldGrid::PlacePiece(CTrackObject* piece, std::uint32_t x, std::uint32_t z, std::uint32_t rotation) {
    if (!piece || !IsInside(x, z) || rotation > 3)
        return false;
    m_dirty = true;
    piece->SetRotation(static_cast<int>(rotation));
    // The cells the footprint covers, turned with the piece; the anchor first when the footprint names
    // it first.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> targets;
    for (const CTrackObject::SCellOffset& offset : piece->GetFootprint()) {
        const CTrackObject::SCellOffset turned = piece->RotateOffset(offset);
        const std::int64_t tx = static_cast<std::int64_t>(x) + turned.x;
        const std::int64_t tz = static_cast<std::int64_t>(z) + turned.z;
        if (tx < 0 || tz < 0 || tx >= m_width || tz >= m_depth)
            return false;
        const auto cellX = static_cast<std::uint32_t>(tx);
        const auto cellZ = static_cast<std::uint32_t>(tz);
        targets.emplace_back(cellX, cellZ);
        if (CTrackObject* old = GetPieceAt(cellX, cellZ)) {
            RemovePiece(cellX, cellZ);
            // A piece placed again where it lies already only leaves its old cells.
            if (old != piece)
                CWorldMan::RemoveObject(old);
        }
    }
    CGridCell& anchor = Cell(x, z);
    for (const auto& [cellX, cellZ] : targets) {
        CGridCell& cell = Cell(cellX, cellZ);
        const bool isAnchor = &cell == &anchor;
        cell.piece = isAnchor ? piece : nullptr;
        cell.owner = isAnchor ? nullptr : &anchor;
    }
    piece->SetAnimPlaying(true);
    if (ISpawningManLink* spawning = CWorldMan::GetSpawningMan())
        spawning->AddObject(piece);
    return true;
}

bool CWorldGrid::RemovePiece(std::uint32_t x, std::uint32_t z) {
    CTrackObject* piece = GetPieceAt(x, z);
    if (!piece)
        return false;
    m_dirty = true;
    CGridCell& cell = Cell(x, z);
    CGridCell* anchor = cell.owner;
    if (anchor && anchor->piece) {
        anchor->piece = nullptr;
        anchor->owner = nullptr;
    }
    cell.piece = nullptr;
    cell.owner = nullptr;
    for (CGridCell& other : m_cells)
        if (other.owner && (other.owner == anchor || other.owner == &cell)) {
            other.piece = nullptr;
            other.owner = nullptr;
        }
    if (ISpawningManLink* spawning = CWorldMan::GetSpawningMan())
        spawning->RemoveObject(piece);
    return true;
}

void CWorldGrid::ClearCellObject(std::uint32_t x, std::uint32_t z) {
    if (!IsInside(x, z))
        return;
    if (CWorldObject* object = Cell(x, z).object) {
        Cell(x, z).object = nullptr;
        CWorldMan::RemoveObject(object);
    }
    Cell(x, z).height = -1.0f;
}

void CWorldGrid::ClearAllCells() {
    for (std::uint32_t x = 0; x < m_width; ++x)
        for (std::uint32_t z = 0; z < m_depth; ++z) {
            ClearCellObject(x, z);
            RemovePiece(x, z);
        }
}

void CWorldGrid::ForgetObject(const CWorldObject* object) {
    if (!object)
        return;
    for (std::uint32_t z = 0; z < m_depth; ++z)
        for (std::uint32_t x = 0; x < m_width; ++x) {
            CGridCell& cell = Cell(x, z);
            if (cell.piece == object)
                RemovePiece(x, z);
            if (cell.object == object) {
                cell.object = nullptr;
                cell.height = -1.0f;
            }
        }
}

float CWorldGrid::GetTrackLength() {
    if (!m_dirty)
        return m_trackLength;
    IWorldServices* services = CWorldMan::GetServices();
    const CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    // Ground tiles, the base plate and the start piece are no part of the course.
    const int left[] = {assets ? assets->GetWorldBaseId() : -1,
                        assets ? assets->GetBasePlateId(0, false) : -1,
                        assets ? assets->GetStartPieceId() : -1};
    float sum = 0.0f;
    for (const CGridCell& cell : m_cells) {
        if (!cell.piece || cell.owner)
            continue;
        const int typeId = cell.piece->GetTypeId();
        if (std::find(std::begin(left), std::end(left), typeId) == std::end(left))
            sum += cell.piece->GetLength();
    }
    m_trackLength = sum;
    m_dirty = false;
    return m_trackLength;
}

bool CWorldGrid::LoadFromImage(std::span<const std::uint8_t> image) {
    return ReadTrackImage(image, *this);
}

std::unique_ptr<CTrackFileImage> CWorldGrid::CreateSaveData() const {
    return WriteTrackImage(*this);
}

float CWorldGrid::IndexToWorldX(std::uint32_t i) {
    return IndexToWorld(i);
}

float CWorldGrid::IndexToWorldZ(std::uint32_t i) {
    return IndexToWorld(i);
}

std::uint32_t CWorldGrid::WorldXToIndex(float v) {
    return WorldToIndex(v);
}

std::uint32_t CWorldGrid::WorldZToIndex(float v) {
    return WorldToIndex(v);
}

CVector CWorldGrid::GridToWorld(const CVector& cell) {
    return CVector(IndexToWorld(TruncatedIndex(cell.x)), 0.0f, IndexToWorld(TruncatedIndex(cell.z)));
}

CVector CWorldGrid::WorldToGrid(const CVector& position) {
    return CVector(IndexAsFloat(WorldToIndex(position.x)), 0.0f, IndexAsFloat(WorldToIndex(position.z)));
}

} // namespace zentrix
