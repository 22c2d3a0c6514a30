#include "race/RouteNodeMan.h"

#include "foundation/math/Rotation.h"
#include "world/GridCell.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldTopographyLink.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zentrix {

namespace {

// Most one-cell pieces run along z; the corners, forks and multi-cell pieces leave through the sides
// their footprint reaches. Kind 20 and the second list's last eight are open on every side and carry no
// road of their own: nothing leaves them for the route to follow.
constexpr std::uint8_t kStraight[] = {10};
constexpr std::uint8_t kTwoCellStraight[] = {8, 2};
constexpr std::uint8_t kCorner[] = {6};
constexpr std::uint8_t kWideCorner[] = {4, 0, 0, 2};
constexpr std::uint8_t kThreeCellStraight[] = {8, 0, 2};
constexpr std::uint8_t kReversedTwoCell[] = {2, 8};
constexpr std::uint8_t kOffsetTwoCell[] = {0, 2, 0, 8};

struct SKindRecord {
    const std::uint8_t* bytes;
    std::size_t count;
};

template <std::size_t N> constexpr SKindRecord Record(const std::uint8_t (&bytes)[N]) {
    return {bytes, N};
}

SKindRecord RecordOf(int kind) {
    switch (kind) {
    case 2:
    case 14:
    case 17:
    case 18:
        return Record(kTwoCellStraight);
    case 3:
    case 8:
        return Record(kCorner);
    case 4:
    case 9:
        return Record(kWideCorner);
    case 12:
    case 25:
        return Record(kThreeCellStraight);
    case 19:
        return Record(kReversedTwoCell);
    case 35:
        return Record(kOffsetTwoCell);
    case 20:
    case 37:
    case 38:
    case 39:
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
        return {nullptr, 0};
    default:
        return Record(kStraight);
    }
}

// The four per-kind columns: route type, narrowing, one-way, level drop allowed.
struct SKindFlags {
    signed char routeType;
    bool narrowing;
    bool oneWay;
    bool dropAllowed;
};

constexpr SKindFlags kKindFlags[CRouteNodeMan::kPieceKindCount] = {
    {0, true, false, true},   {3, false, false, true},  {5, true, false, false}, {1, false, false, false},
    {1, false, false, false}, {0, true, false, true},   {3, true, false, true},  {3, true, false, true},
    {1, true, false, false},  {1, true, false, false},  {2, true, false, true},  {6, true, false, true},
    {5, true, true, false},   {5, true, false, true},   {5, true, true, false},  {5, true, false, true},
    {5, true, false, true},   {5, false, false, false}, {2, true, true, false},  {5, false, false, false},
    {3, false, false, true},  {3, false, false, true},  {5, true, false, true},  {5, true, false, true},
    {2, true, true, true},    {3, true, false, false},  {3, true, false, true},  {3, true, false, true},
    {3, true, false, true},   {2, true, false, true},   {3, true, false, true},  {3, true, false, true},
    {3, true, false, true},   {3, true, false, true},   {3, true, false, true},  {3, true, false, false},
    {3, true, false, true},   {3, true, false, false},  {3, true, false, false}, {3, true, false, false},
    {3, true, false, false},  {3, true, false, false},  {3, true, false, false}, {3, true, false, false},
    {3, true, false, false},
};

const SKindFlags* FlagsOf(int kind) {
    return kind >= 0 && kind < CRouteNodeMan::kPieceKindCount ? &kKindFlags[kind] : nullptr;
}

constexpr int kLogChannel = 19; // "RouteNode.log"

/// One cell step in each travel direction (0 +z, 1 +x, 2 -z, 3 -x).
constexpr int kStepX[4] = {0, 1, 0, -1};
constexpr int kStepZ[4] = {1, 0, -1, 0};
/// The side a car crosses when it enters a cell travelling in each direction.
constexpr int kEntrySide[4] = {8, 1, 2, 4};
/// The direction that leaves a cell through each side, for sides 1, 2, 4, 8.
constexpr int kSideDirection[4] = {3, 0, 1, 2};
/// By travel direction: the sides a piece's exit is looked for through, in order.
constexpr int kExitOrder[4][4] = {{2, 1, 4, 8}, {4, 1, 2, 8}, {8, 1, 2, 4}, {1, 2, 4, 8}};

int DirectionOfSide(int side) {
    switch (side) {
    case 1:
        return kSideDirection[0];
    case 2:
        return kSideDirection[1];
    case 4:
        return kSideDirection[2];
    default:
        return kSideDirection[3];
    }
}

bool IsDirection(int direction) {
    return direction >= 0 && direction <= 3;
}

/// A whole number of units from a float, clamped so that the conversion is always defined.
int WholeUnits(float value, int limit) {
    if (!(value > 0.0f))
        return 0;
    return value >= static_cast<float>(limit) ? limit : static_cast<int>(value);
}

float CellWorldX(int column) {
    return static_cast<float>(column) * CWorldGrid::kTileSize + CWorldGrid::kOrigin;
}

float CellWorldZ(int row) {
    return static_cast<float>(row) * CWorldGrid::kTileSize + CWorldGrid::kOrigin;
}

} // namespace

bool CRouteNodeMan::GetPieceConnections(int kind, SPieceConnections& out) {
    out.fill(0);
    if (kind < 0 || kind >= kPieceKindCount)
        return false;
    const SKindRecord record = RecordOf(kind);
    for (std::size_t i = 0; i < record.count; ++i)
        out[i] = record.bytes[i];
    return true;
}

int CRouteNodeMan::GetRouteType(int kind) {
    const SKindFlags* flags = FlagsOf(kind);
    return flags ? flags->routeType : kRouteTypeNone;
}

bool CRouteNodeMan::IsNarrowingKind(int kind) {
    const SKindFlags* flags = FlagsOf(kind);
    return flags && flags->narrowing;
}

bool CRouteNodeMan::IsOneWayKind(int kind) {
    const SKindFlags* flags = FlagsOf(kind);
    return flags && flags->oneWay;
}

bool CRouteNodeMan::IsLevelDropAllowed(int kind) {
    const SKindFlags* flags = FlagsOf(kind);
    return flags && flags->dropAllowed;
}

int CRouteNodeMan::GetPieceKind(const CTrackObject* piece) {
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    if (!piece || !piece->GetPieceClass(pieceClass, index) || index < 0)
        return -1;
    if (pieceClass == CTrackObject::kClassMain && index < CTrackObject::kMainPieceCount)
        return index;
    if (pieceClass == CTrackObject::kClassSecond && index < CTrackObject::kSecondPieceCount)
        return index + CTrackObject::kMainPieceCount;
    return -1;
}

bool CRouteNodeMan::IsAlignedWith(const CTrackObject* piece, int mode, int direction) {
    if (!piece)
        return true;
    if (!IsDirection(direction))
        return false;
    const int rotation = piece->GetRotation();
    switch (mode) {
    case 6:
        return true;
    case 2:
        return rotation == direction;
    case 0:
    case 1:
    case 3:
    case 4:
    case 5:
        return rotation == direction || rotation == (direction + 2) % 4;
    default:
        return false;
    }
}

CRouteNodeMan::CRouteNodeMan() {
    Reset();
}

CRouteNodeMan::~CRouteNodeMan() = default;

int CRouteNodeMan::StartManager() {
    Reset();
    m_started = true;
    return 0;
}

int CRouteNodeMan::StopManager() {
    m_started = false;
    return 0;
}

const std::vector<CTrackObject::SCellOffset>& CRouteNodeMan::FootprintOf(const CTrackObject& piece) const {
    return piece.GetFootprint();
}

void CRouteNodeMan::Log(const std::string& text) const {
    if (IWorldServices* services = CWorldMan::GetServices())
        services->Log(kLogChannel, text);
}

void CRouteNodeMan::FreeMaps() {
    m_tileMap.clear();
    m_tileMap.shrink_to_fit();
    m_levelMap.clear();
    m_levelMap.shrink_to_fit();
}

void CRouteNodeMan::Reset() {
    for (CRouteNode& node : m_nodes)
        node.Reset();
    for (SRouteSection& section : m_sections)
        section.Reset();
    m_nodeCount = 0;
    m_sectionCount = 0;
    m_broken = true;
    FreeMaps();
    m_columns = 0;
    m_rows = 0;
    m_stretchMean = 0;
    m_routeLength = 0;
    m_previousStatus = m_status;
    m_status = kRouteOk;
    m_errorPosition = CVector(-1.0f, -1.0f, -1.0f);
}

void CRouteNodeMan::SetRouteError(int code, const CWorldObject* piece, bool force) {
    if (m_status != kRouteOk && !force)
        return;
    m_status = code;
    if (piece) {
        const CVector cell = CWorldGrid::WorldToGrid(piece->Position());
        m_errorPosition = CVector(cell.x, 0.0f, cell.z);
    } else {
        m_errorPosition = CVector(-1.0f, -1.0f, -1.0f);
    }
    Log("Route broken with error " + std::to_string(code) + " at cell " +
        std::to_string(static_cast<int>(m_errorPosition.x)) + "," +
        std::to_string(static_cast<int>(m_errorPosition.z)));
}

CWorldObject* CRouteNodeMan::GetRouteErrorPiece() const {
    return GetRouteErrorPiece(CWorldMan::GetWorldGrid());
}

CWorldObject* CRouteNodeMan::GetRouteErrorPiece(const CWorldGrid* grid) const {
    if (!grid || m_errorPosition.x < 0.0f || m_errorPosition.z < 0.0f)
        return nullptr;
    const auto x = static_cast<std::uint32_t>(m_errorPosition.x);
    const auto z = static_cast<std::uint32_t>(m_errorPosition.z);
    if (CTrackObject* piece = grid->GetPieceAt(x, z))
        return piece;
    return grid->GetCellObject(x, z);
}

int CRouteNodeMan::GetRouteErrorHelpId() const {
    switch (m_status) {
    case kRouteOk:
        if (m_previousStatus == kRouteOk)
            return -1;
        return std::max(m_columns, m_rows) > 8 ? 57036 : 57213;
    case kErrorNoPiece:
        return 57230;
    case kErrorNoStart:
        return 57033;
    case kErrorOffGrid:
        return 57003;
    case kErrorNoConnection:
    case kErrorOneWay:
    case kErrorRampDown:
        return 57002;
    case kErrorHeightStep:
        return 57001;
    case kErrorBelowPrevious:
        return 57234;
    case kErrorSecondList:
    case kErrorScenery:
        return 57227;
    default:
        return -1;
    }
}

CRouteNode CRouteNodeMan::GetNode(int i) const {
    if (i < 0 || i >= m_nodeCount)
        return CRouteNode();
    return m_nodes[static_cast<std::size_t>(i)];
}

const SRouteSection* CRouteNodeMan::GetSectionOfNode(int node, int* index) const {
    for (int i = 0; i < m_sectionCount; ++i) {
        const SRouteSection& section = m_sections[static_cast<std::size_t>(i)];
        if (section.firstNode <= node && node <= section.lastNode) {
            if (index)
                *index = i;
            return &section;
        }
    }
    return nullptr;
}

const SRouteSection* CRouteNodeMan::GetSectionWrapped(int i, int* index) const {
    if (m_sectionCount <= 0)
        return nullptr;
    if (i < 0)
        i = m_sectionCount - 1;
    else if (i >= m_sectionCount)
        i = 0;
    if (index)
        *index = i;
    return &m_sections[static_cast<std::size_t>(i)];
}

// ---- The tile maps

bool CRouteNodeMan::IsInside(int column, int row) const {
    return column >= 0 && row >= 0 && column < m_columns && row < m_rows;
}

std::uint16_t CRouteNodeMan::TileWord(int column, int row) const {
    if (!IsInside(column, row) || m_tileMap.empty())
        return kNoTile;
    return m_tileMap[static_cast<std::size_t>(row) * m_columns + static_cast<std::size_t>(column)];
}

int CRouteNodeMan::TileKind(int column, int row) const {
    const std::uint16_t word = TileWord(column, row);
    return word == kNoTile ? -1 : word & 0x7F;
}

int CRouteNodeMan::LevelAt(int column, int row) const {
    if (!IsInside(column, row) || m_levelMap.empty())
        return 0;
    return m_levelMap[static_cast<std::size_t>(row) * m_columns + static_cast<std::size_t>(column)];
}

bool CRouteNodeMan::GetTilePieceKind(int column, int row, int& kind) const {
    const int found = TileKind(column, row);
    if (found < 0)
        return false;
    kind = found;
    return true;
}

bool CRouteNodeMan::GetTileAnchorOffset(int column, int row, int& dx, int& dz) const {
    const std::uint16_t word = TileWord(column, row);
    if (word == kNoTile)
        return false;
    dz = (word >> 9) & 7;
    if (!(word & 0x100))
        dz = -dz;
    dx = (word >> 13) & 7;
    if (!(word & 0x1000))
        dx = -dx;
    return true;
}

bool CRouteNodeMan::GetTileLevel(int column, int row, int& level) const {
    if (!IsInside(column, row))
        return false;
    level = LevelAt(column, row);
    return true;
}

CTrackObject* CRouteNodeMan::PieceAt(int column, int row) const {
    if (!m_grid || column < 0 || row < 0)
        return nullptr;
    return m_grid->GetPieceAt(static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row));
}

namespace {

std::uint16_t LevelOf(float height) {
    // Heights come from track files: anything that is not a sane height is level 0.
    if (!(height > 0.0f))
        return 0;
    const float level = height / 8.0f;
    return level >= 65535.0f ? 65535 : static_cast<std::uint16_t>(level);
}

} // namespace

void CRouteNodeMan::MarkTiles() {
    FreeMaps();
    for (SRouteSection& section : m_sections)
        section.Reset();
    m_sectionCount = 0;
    m_columns = static_cast<std::uint16_t>(std::min<std::uint32_t>(m_grid->GetSizeX(), 0xFFFF));
    m_rows = static_cast<std::uint16_t>(std::min<std::uint32_t>(m_grid->GetSizeZ(), 0xFFFF));
    const std::size_t cells = static_cast<std::size_t>(m_columns) * m_rows;
    m_tileMap.assign(cells, kNoTile);
    m_levelMap.assign(cells, 0);
    for (int row = 0; row < m_rows; ++row)
        for (int column = 0; column < m_columns; ++column) {
            const auto x = static_cast<std::uint32_t>(column);
            const auto z = static_cast<std::uint32_t>(row);
            CTrackObject* piece = m_grid->GetPieceAt(x, z);
            if (!piece)
                continue;
            // A rebuilt route marks its own pieces again below.
            piece->SetOnRoute(false);
            const int kind = GetPieceKind(piece);
            const CGridCell* cell = m_grid->GetCell(x, z);
            if (kind >= 0 && cell && cell->piece == piece)
                MarkPiece(*piece, kind, column, row);
            else
                m_levelMap[static_cast<std::size_t>(row) * m_columns + static_cast<std::size_t>(column)] =
                    LevelOf(m_grid->GetCellHeight(x, z));
        }
}

void CRouteNodeMan::MarkPiece(const CTrackObject& piece, int kind, int column, int row) {
    const auto& footprint = FootprintOf(piece);
    for (std::size_t i = 0; i < footprint.size(); ++i) {
        const CTrackObject::SCellOffset offset = piece.RotateOffset(footprint[i]);
        const int x = column + offset.x;
        const int z = row + offset.z;
        // Footprints come from data: cells off the grid, or too far from the anchor for the word to say
        // where it lies, are not the piece's.
        if (!IsInside(x, z) || std::abs(offset.x) > 7 || std::abs(offset.z) > 7)
            continue;
        auto word = static_cast<std::uint16_t>(kind);
        if (offset.x != 0 || offset.z != 0) {
            word |= 0x80;
            word |= static_cast<std::uint16_t>(std::abs(offset.z) << 9);
            if (offset.z < 0)
                word |= 0x100;
            word |= static_cast<std::uint16_t>(std::abs(offset.x) << 13);
            if (offset.x < 0)
                word |= 0x1000;
        }
        const std::size_t at = static_cast<std::size_t>(z) * m_columns + static_cast<std::size_t>(x);
        m_tileMap[at] = word;
        m_levelMap[at] =
            LevelOf(m_grid->GetCellHeight(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(z)));
    }
}

int CRouteNodeMan::PieceCellIndex(const CTrackObject& piece, int column, int row) const {
    int dx = 0;
    int dz = 0;
    if (!GetTileAnchorOffset(column, row, dx, dz))
        return 0;
    const int anchorX = column + dx;
    const int anchorZ = row + dz;
    const auto& footprint = FootprintOf(piece);
    for (std::size_t i = 0; i < footprint.size(); ++i) {
        const CTrackObject::SCellOffset offset = piece.RotateOffset(footprint[i]);
        if (anchorX + offset.x == column && anchorZ + offset.z == row)
            return static_cast<int>(i);
    }
    return 0;
}

int CRouteNodeMan::TurnedConnection(const CTrackObject& piece, int cellIndex) const {
    SPieceConnections record;
    // A footprint may hold more cells than a record has bytes: those lead nowhere.
    if (cellIndex < 0 || cellIndex >= static_cast<int>(record.size()) ||
        !GetPieceConnections(GetPieceKind(&piece), record))
        return 0;
    return piece.RotateSideMask(record[static_cast<std::size_t>(cellIndex)]);
}

// ---- The walk

bool CRouteNodeMan::StepToNextTile(const CTrackObject* piece, int& column, int& row, int& direction) const {
    const int kind = TileKind(column, row);
    if (!piece || kind < 0 || !IsDirection(direction))
        return false;
    int next = direction;
    if (kind != 20) {
        const int mask = TurnedConnection(*piece, PieceCellIndex(*piece, column, row));
        next = -1;
        for (int side : kExitOrder[direction])
            if (mask & side) {
                next = DirectionOfSide(side);
                break;
            }
        if (next < 0)
            return IsInside(column, row);
    }
    const int x = column + kStepX[next];
    const int z = row + kStepZ[next];
    if (!IsInside(x, z))
        return false;
    column = x;
    row = z;
    direction = next;
    return true;
}

bool CRouteNodeMan::AddNode(const CVector& position, int kind, bool copyTurns) {
    if (m_nodeCount >= kMaxNodes) {
        m_outOfRoom = true;
        return false;
    }
    CRouteNode& node = m_nodes[static_cast<std::size_t>(m_nodeCount)];
    node.Reset();
    node.kind = kind;
    node.position = position;
    if (m_ground)
        node.position.y = m_ground->GetHeight(position.x, position.z);
    node.cornerMark = GetRouteType(kind) == kRouteTypeCorner ? 1 : 0;
    if (m_nodeCount > 0) {
        const CRouteNode& previous = m_nodes[static_cast<std::size_t>(m_nodeCount - 1)];
        if (copyTurns) {
            node.turnA = previous.turnA;
            node.turnB = previous.turnB;
        }
        node.distance =
            static_cast<std::uint16_t>(WholeUnits((node.position - previous.position).Length(), 0xFFFF));
    }
    ++m_nodeCount;
    return true;
}

bool CRouteNodeMan::AddNodeAtTile(int column, int row, bool copyTurns) {
    return AddNode(CVector(CellWorldX(column), 0.0f, CellWorldZ(row)), TileKind(column, row), copyTurns);
}

bool CRouteNodeMan::AddNodeAtPoint(const CVector& point) {
    const std::uint32_t x = CWorldGrid::WorldXToIndex(point.x);
    const std::uint32_t z = CWorldGrid::WorldZToIndex(point.z);
    int kind = -1;
    if (x != CWorldGrid::kNoIndex && z != CWorldGrid::kNoIndex && x < m_columns && z < m_rows)
        kind = TileKind(static_cast<int>(x), static_cast<int>(z));
    return AddNode(CVector(point.x, 0.0f, point.z), kind, true);
}

bool CRouteNodeMan::FindPieceEnds(const CTrackObject& piece, int& entry, int& exit) const {
    SPieceConnections record;
    if (!GetPieceConnections(GetPieceKind(&piece), record))
        return false;
    entry = -1;
    exit = -1;
    const std::size_t cells = std::min(FootprintOf(piece).size(), record.size());
    for (std::size_t i = 0; i < cells; ++i) {
        if (record[i] & 2)
            entry = static_cast<int>(i);
        if (record[i] & (1 | 4 | 8))
            exit = static_cast<int>(i);
    }
    return entry >= 0 && exit >= 0;
}

void CRouteNodeMan::AddPieceExtraNodes(const CTrackObject& piece, int column, int row) {
    int entry = -1;
    int exit = -1;
    if (m_nodeCount == 0 || !FindPieceEnds(piece, entry, exit))
        return;
    const int rotation = piece.GetRotation();
    if (!IsDirection(rotation))
        return;
    int dx = 0;
    int dz = 0;
    GetTileAnchorOffset(column, row, dx, dz);
    const CTrackObject::SCellOffset end =
        piece.RotateOffset(FootprintOf(piece)[static_cast<std::size_t>(exit)]);
    const CVector endCell(CellWorldX(column + dx + end.x), 0.0f, CellWorldZ(row + dz + end.z));
    CRouteNode& last = m_nodes[static_cast<std::size_t>(m_nodeCount - 1)];
    const auto shift = [&last](const int(&byRotation)[4][2], int r) {
        last.position.x += static_cast<float>(byRotation[r][0]);
        last.position.z += static_cast<float>(byRotation[r][1]);
    };
    const auto extra = [&](int x, int z) {
        const CTrackObject::SCellOffset turned = CTrackObject::TurnOffset({x, z}, rotation);
        AddNodeAtPoint(endCell + CVector(static_cast<float>(turned.x), 0.0f, static_cast<float>(turned.z)));
    };
    static constexpr int kCornerShift[4][2] = {{4, 4}, {4, -4}, {-4, -4}, {-4, 4}};
    static constexpr int kLoopShift[4][2] = {{8, -8}, {-8, -8}, {-8, 8}, {8, 8}};
    static constexpr int kHairpinShift[4][2] = {{-8, 8}, {8, 8}, {8, -8}, {-8, -8}};
    switch (TileKind(column, row)) {
    case 3:
    case 8:
        shift(kCornerShift, rotation);
        break;
    case 4:
    case 9:
        extra(-18, 14);
        break;
    case 14:
        shift(kLoopShift, rotation);
        last.laneWidth = 0;
        break;
    case 18:
        last.laneWidth = 0;
        break;
    case 19:
        shift(kHairpinShift, rotation);
        extra(-24, 16);
        break;
    case 25:
        extra(0, 32);
        break;
    default:
        break;
    }
}

void CRouteNodeMan::AddPieceNodes(CTrackObject& piece, int& column, int& row, int& direction) {
    const int firstNode = m_nodeCount;
    if (!AddNodeAtTile(column, row, false))
        return;
    const int rotation = piece.GetRotation();
    CRouteNode& first = m_nodes[static_cast<std::size_t>(m_nodeCount - 1)];
    if (first.cornerMark && IsDirection(direction)) {
        if (rotation == (direction + 1) % 4)
            first.turnA = 1;
        if (rotation == (direction + 2) % 4)
            first.turnB = 1;
    }
    AddPieceExtraNodes(piece, column, row);

    // A piece of several cells is left from the last of its other cells the road leaves through.
    const int tileCell = PieceCellIndex(piece, column, row);
    int dx = 0;
    int dz = 0;
    GetTileAnchorOffset(column, row, dx, dz);
    const int anchorX = column + dx;
    const int anchorZ = row + dz;
    const auto& footprint = FootprintOf(piece);
    bool exitFound = false;
    int exitX = column;
    int exitZ = row;
    for (std::size_t i = 0; i < footprint.size() && !m_outOfRoom; ++i) {
        if (static_cast<int>(i) == tileCell)
            continue;
        const int mask = TurnedConnection(piece, static_cast<int>(i));
        if (mask == 0)
            continue;
        const CTrackObject::SCellOffset offset = piece.RotateOffset(footprint[i]);
        exitX = anchorX + offset.x;
        exitZ = anchorZ + offset.z;
        AddNodeAtTile(exitX, exitZ, true);
        exitFound = true;
        for (int side : {1, 2, 4, 8})
            if (mask & side) {
                direction = DirectionOfSide(side);
                break;
            }
    }
    if (m_outOfRoom)
        return;
    if (exitFound) {
        column = exitX;
        row = exitZ;
        if (TileKind(column, row) < 0)
            return;
    } else if (GetRouteType(GetPieceKind(&piece)) == kRouteTypeCorner) {
        const int mask = TurnedConnection(piece, tileCell);
        if ((mask & 1) && direction != 1)
            direction = 3;
        else if ((mask & 2) && direction != 2)
            direction = 0;
        else if ((mask & 4) && direction != 3)
            direction = 1;
        else if ((mask & 8) && direction != 0)
            direction = 2;
    }

    CRouteNode& last = m_nodes[static_cast<std::size_t>(m_nodeCount - 1)];
    if (last.kind == 19 && IsDirection(rotation)) {
        static constexpr int kShift[4][2] = {{-4, -4}, {-4, 4}, {4, 4}, {4, -4}};
        last.position.x += static_cast<float>(kShift[rotation][0]);
        last.position.z += static_cast<float>(kShift[rotation][1]);
    }
    if (last.kind == 12)
        last.kind = 1;

    if (m_sectionCount >= kMaxSections) {
        m_outOfRoom = true;
        return;
    }
    SRouteSection& section = m_sections[static_cast<std::size_t>(m_sectionCount++)];
    section.kind = last.kind;
    section.rotation = rotation;
    section.level = static_cast<std::uint16_t>(LevelAt(column, row));
    section.direction = direction;
    section.piece = &piece;
    section.firstNode = firstNode;
    section.lastNode = m_nodeCount - 1;
}

bool CRouteNodeMan::CheckNextTile(const CTrackObject& piece, int column, int row) {
    if (!IsInside(column, row)) {
        SetRouteError(kErrorNoPiece, &piece, false);
        return false;
    }
    CTrackObject* there = PieceAt(column, row);
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    if (there)
        there->GetPieceClass(pieceClass, index);
    const bool blockingSecond = pieceClass == CTrackObject::kClassSecond && index > 6;
    if (TileKind(column, row) >= 0) {
        if (!blockingSecond)
            return true;
        SetRouteError(kErrorSecondList, there, false);
        return false;
    }
    const auto x = static_cast<std::uint32_t>(column);
    const auto z = static_cast<std::uint32_t>(row);
    if (m_grid->GetCellHeight(x, z) != 0.0f)
        SetRouteError(kErrorRaisedGround, m_grid->GetCellObject(x, z), false);
    else if (blockingSecond)
        SetRouteError(kErrorSecondList, there, false);
    else if (pieceClass == CTrackObject::kClassScenery)
        SetRouteError(kErrorScenery, there, false);
    else
        SetRouteError(kErrorNoPiece, &piece, false);
    return false;
}

bool CRouteNodeMan::CanEnterTile(const CTrackObject& piece, int column, int row, int direction) {
    const int kind = TileKind(column, row);
    if (kind < 0 || !IsDirection(direction))
        return false;
    if (kind == 20)
        return true;
    if (!IsOneWayKind(kind))
        return (TurnedConnection(piece, PieceCellIndex(piece, column, row)) & kEntrySide[direction]) != 0;
    const int rotation = piece.GetRotation();
    if (rotation == direction)
        return true;
    if (rotation == (direction + 2) % 4) {
        SetRouteError(kErrorOneWay, &piece, false);
        m_broken = true;
    }
    return false;
}

void CRouteNodeMan::BuildRoute() {
    BuildRoute(CWorldMan::GetWorldGrid(), CWorldMan::GetRaceTopography());
}

void CRouteNodeMan::BuildRoute(const CWorldGrid* grid, const IWorldTopographyLink* ground) {
    m_broken = true;
    if (m_editorBuild)
        if (CWorldObject* old = GetRouteErrorPiece(grid))
            old->SetHighlight(3);
    Reset();
    m_grid = grid;
    m_ground = m_editorBuild ? nullptr : ground;
    m_outOfRoom = false;
    if (m_grid)
        MarkTiles();
    Walk();
    ComputeRouteLength();
    if (!m_broken)
        ComputeStretchMean();
    m_grid = nullptr;
    m_ground = nullptr;
}

void CRouteNodeMan::Walk() {
    CTrackObject* start = nullptr;
    int column = 0;
    int row = 0;
    for (int z = 0; z < m_rows && !start; ++z)
        for (int x = 0; x < m_columns && !start; ++x)
            if (GetRouteType(TileKind(x, z)) == kRouteTypeStart && PieceAt(x, z)) {
                start = PieceAt(x, z);
                column = x;
                row = z;
            }
    if (!start) {
        SetRouteError(kErrorNoStart, nullptr, false);
        return;
    }
    m_broken = false;

    int direction = start->GetRotation();
    {
        int x = column;
        int z = row;
        int d = direction;
        if (!StepToNextTile(start, x, z, d)) {
            SetRouteError(kErrorOffGrid, start, false);
            m_broken = true;
            x = column;
            z = row;
            d = direction;
            AddPieceNodes(*start, x, z, d);
        }
        x = column;
        z = row;
        d = IsDirection(direction) ? (direction + 2) % 4 : direction;
        if (!StepToNextTile(start, x, z, d))
            SetRouteError(kErrorOffGrid, start, false);
    }

    CTrackObject* piece = start;
    bool closed = false;
    while (!m_broken && !closed) {
        AddPieceNodes(*piece, column, row, direction);
        if (m_outOfRoom) {
            Log("The route has more than " + std::to_string(kMaxNodes) + " nodes or " +
                std::to_string(kMaxSections) + " sections: it stops here");
            SetRouteError(kErrorTooLong, piece, false);
            m_broken = true;
            break;
        }
        if (!StepToNextTile(piece, column, row, direction)) {
            SetRouteError(kErrorOffGrid, piece, false);
            m_broken = true;
            break;
        }
        if (!CheckNextTile(*piece, column, row)) {
            m_broken = true;
            break;
        }
        CTrackObject* next = PieceAt(column, row);
        if (TileKind(column, row) < 0) {
            SetRouteError(kErrorNoPiece, next, false);
            m_broken = true;
            break;
        }
        if (!next || !CanEnterTile(*next, column, row, direction)) {
            int pieceClass = CTrackObject::kClassMain;
            std::int16_t index = -1;
            if (next)
                next->GetPieceClass(pieceClass, index);
            SetRouteError(pieceClass == CTrackObject::kClassSecond    ? kErrorSecondList
                          : pieceClass == CTrackObject::kClassScenery ? kErrorScenery
                                                                      : kErrorNoConnection,
                          next, false);
            m_broken = true;
            break;
        }
        if (GetRouteType(TileKind(column, row)) == kRouteTypeStart) {
            if (!IsAlignedWith(next, 0, direction)) {
                SetRouteError(kErrorNoConnection, next, false);
                m_broken = true;
            } else {
                closed = true;
            }
        }
        piece = next;
    }

    if (!m_broken) {
        for (int i = 0; i < m_nodeCount; ++i)
            FinishNode(i);
        if (!CheckSectionLevels())
            m_broken = true;
        MarkSectionsOnRoute();
    } else if (m_nodeCount > 2) {
        for (int i = 1; i < m_nodeCount - 1; ++i)
            FinishNode(i);
        if (m_sectionCount > 2)
            for (int i = 1; i < m_sectionCount - 1; ++i)
                if (!CheckSectionStep(i - 1, i + 1, i, true)) {
                    m_nodeCount = m_sections[static_cast<std::size_t>(i + 1)].firstNode;
                    m_sectionCount = i + 1;
                    break;
                }
        MarkSectionsOnRoute();
    }
}

void CRouteNodeMan::MarkSectionsOnRoute() {
    for (int i = 0; i < m_sectionCount; ++i)
        if (CTrackObject* piece = m_sections[static_cast<std::size_t>(i)].piece)
            piece->SetOnRoute(true);
}

void CRouteNodeMan::FinishNode(int i) {
    if (i < 0 || i >= m_nodeCount)
        return;
    const int previous = i == 0 ? m_nodeCount - 1 : i - 1;
    const int next = i + 1 >= m_nodeCount ? 0 : i + 1;
    CRouteNode& node = m_nodes[static_cast<std::size_t>(i)];
    const CVector& before = m_nodes[static_cast<std::size_t>(previous)].position;
    const CVector& after = m_nodes[static_cast<std::size_t>(next)].position;
    node.position.y = 0.0f;
    node.distance = static_cast<std::uint16_t>(
        WholeUnits(CVector(node.position.x - before.x, 0.0f, node.position.z - before.z).Length(), 0xFFFF));
    // Previous and next on one point (two nodes, or extra nodes that meet) give no direction to turn.
    CVector across = RotateAboutYAxis(CVector(before.x - after.x, 0.0f, before.z - after.z), 1.5707964f);
    across.y = 0.0f;
    if (across.IsZero())
        node.side = CVector();
    else
        node.side = across.GetNormalised();
    if (IsNarrowingKind(node.kind) && GetRouteType(node.kind) != kRouteTypeSpecial && !node.side.IsZero())
        node.laneWidth = static_cast<std::uint16_t>(node.laneWidth > 2 ? node.laneWidth - 2 : 0);
}

bool CRouteNodeMan::IsRisingRamp(const SRouteSection& section) const {
    return GetRouteType(section.kind) == kRouteTypeRamp && IsAlignedWith(section.piece, 2, section.direction);
}

bool CRouteNodeMan::IsFallingRamp(const SRouteSection& section) const {
    return GetRouteType(section.kind) == kRouteTypeRamp &&
           !IsAlignedWith(section.piece, 2, section.direction);
}

bool CRouteNodeMan::CheckSectionStep(int prev, int next, int cur, bool force) {
    const SRouteSection& p = m_sections[static_cast<std::size_t>(prev)];
    const SRouteSection& n = m_sections[static_cast<std::size_t>(next)];
    const SRouteSection& c = m_sections[static_cast<std::size_t>(cur)];
    const auto clearLane = [this](int node) {
        if (node >= 0 && node < m_nodeCount)
            m_nodes[static_cast<std::size_t>(node)].laneWidth = 0;
    };
    if ((c.kind == 3 || c.kind == 8) && (IsNarrowingKind(n.kind) || IsNarrowingKind(c.kind))) {
        clearLane(c.firstNode);
        clearLane(c.lastNode);
    } else if (c.kind == 19) {
        for (int i = c.firstNode; i <= c.lastNode; ++i)
            clearLane(i);
    }
    const int nextType = GetRouteType(n.kind);
    if (nextType < 0 || nextType > 5) {
        SetRouteError(kErrorHeightStep, n.piece, force);
        return false;
    }
    const int lp = p.level;
    const int ln = n.level;
    const int lc = c.level;
    const bool drop = IsLevelDropAllowed(c.kind);
    if (c.kind == 18 || c.kind == 14) {
        const int extra = IsRisingRamp(p) ? 1 : 0;
        if (lc < lp + extra) {
            SetRouteError(kErrorBelowPrevious, c.piece, force);
            return false;
        }
        if (c.kind == 18 && ln <= lc + 3)
            return true;
    }
    if (lc >= ln && nextType != kRouteTypeRamp)
        return true;
    if (IsFallingRamp(n)) {
        if ((IsRisingRamp(c) && ln <= lc) || lc > ln || (c.kind == 13 && ln <= lc + 1) ||
            (IsRisingRamp(p) && ln <= lp && lc <= lp + 1 && drop))
            return true;
        SetRouteError(kErrorRampDown, n.piece, force);
        return false;
    }
    if (IsRisingRamp(p) && ln <= lp + 1 && drop)
        return true;
    if (p.kind == 18 && ln <= lp + 3 && drop)
        return true;
    if (ln < lp && drop)
        return true;
    bool ok = false;
    if (IsRisingRamp(n))
        ok = lc >= ln || ((GetRouteType(c.kind) == kRouteTypeRamp || c.kind == 13) && ln <= lc + 1);
    else
        ok = lc >= ln || ((c.kind == 13 || IsRisingRamp(c)) && ln <= lc + 1);
    if (!ok)
        SetRouteError(kErrorHeightStep, n.piece, force);
    return ok;
}

bool CRouteNodeMan::CheckSectionLevels() {
    for (int i = 0; i < m_sectionCount; ++i) {
        const int previous = i == 0 ? m_sectionCount - 1 : i - 1;
        const int next = i + 1 >= m_sectionCount ? 0 : i + 1;
        if (!CheckSectionStep(previous, next, i, false)) {
            m_nodeCount = m_sections[static_cast<std::size_t>(next)].firstNode;
            m_sectionCount = next;
            return false;
        }
    }
    return true;
}

namespace {

int FlatDistance(const CVector& a, const CVector& b) {
    return WholeUnits(CVector(a.x - b.x, 0.0f, a.z - b.z).Length(), 1 << 30);
}

} // namespace

void CRouteNodeMan::ComputeRouteLength() {
    m_routeLength = 0;
    if (m_nodeCount < 2)
        return;
    long long length = 0;
    for (int i = 1; i < m_nodeCount; ++i)
        length += FlatDistance(m_nodes[static_cast<std::size_t>(i)].position,
                               m_nodes[static_cast<std::size_t>(i - 1)].position);
    if (!m_broken)
        length +=
            FlatDistance(m_nodes[0].position, m_nodes[static_cast<std::size_t>(m_nodeCount - 1)].position);
    m_routeLength = static_cast<int>(std::min<long long>(length, 1 << 30));
}

void CRouteNodeMan::ComputeStretchMean() {
    int sum = 0;
    int stretches = 0;
    for (int i = 1; i <= m_nodeCount; ++i) {
        const CRouteNode& previous = m_nodes[static_cast<std::size_t>(i - 1)];
        const CRouteNode& current = m_nodes[static_cast<std::size_t>(i == m_nodeCount ? 0 : i)];
        if (current.cornerMark)
            continue;
        if (!previous.cornerMark)
            sum += current.distance;
        else
            ++stretches;
    }
    // A route without corners has no stretch between them.
    m_stretchMean = stretches > 0 ? sum / stretches : 0;
}
} // namespace zentrix
