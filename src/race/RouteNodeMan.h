#pragma once

#include "foundation/base/ManagerInterface.h"
#include "foundation/math/Vector.h"
#include "race/RouteNode.h"
#include "race/RouteSection.h"
#include "world/TrackObject.h"

#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrix {

class CWorldGrid;
class CWorldObject;
class IWorldTopographyLink;

/// The route through the track's pieces: a closed ring of route nodes (points on the road) walked from
/// the start piece through the pieces' side connections, grouped into one section per piece passed. A
/// build checks that the track is drivable and, when it is not, records one error code and the piece at
/// fault. Drivers, race results, the car reset and the editor read the built route; it changes only at
/// the next build.
///
/// Grid directions: 0 towards +z, 1 towards +x, 2 towards -z, 3 towards -x. Side masks: 1 the -x side,
/// 2 +z, 4 +x, 8 -z. The editor's placement check shares the piece connection table.
class CRouteNodeMan : public CManagerInterface {
public:
    /// Piece kinds: main-list index 0..29, second-list index + 30 (30..44).
    static constexpr int kPieceKindCount = 45;
    /// One side mask (1 -x, 2 +z, 4 +x, 8 -z) per footprint cell, in footprint order, before rotation.
    using SPieceConnections = std::array<std::uint8_t, 9>;

    /// The pools: a route never holds more nodes or sections than these.
    static constexpr int kMaxNodes = 512;
    static constexpr int kMaxSections = 512;
    /// What a node index reads as when there is no node.
    static constexpr int kNoNode = -1;
    /// The route steps between two nodes that cannot reach each other (or with no route): larger than
    /// any real count, so it loses every comparison for fewer steps.
    static constexpr int kUnreachable = INT_MAX;
    /// Tile map word of a cell without a route piece.
    static constexpr std::uint16_t kNoTile = 0xFFFF;

    /// What a piece kind is to the route.
    enum ERouteType {
        kRouteTypeNone = -1,   ///< a kind outside 0..44
        kRouteTypeStart = 0,   ///< the walk begins and must end on one
        kRouteTypeCorner = 1,  ///< its nodes carry the corner mark and the turn flags
        kRouteTypeRamp = 2,    ///< changes the level; rising when its rotation is the travel direction
        kRouteTypePlain = 3,   ///< a plain piece
        kRouteTypeSpecial = 5, ///< skipped by the nearest-node search on request
        kRouteTypeHeight = 6,  ///< a height block
    };

    /// The route status after a build: 1 no error, else what broke the route.
    enum ERouteStatus {
        kRouteOk = 1,
        kErrorNoPiece = 2,       ///< the track leads onto a tile without a route piece
        kErrorNoStart = 3,       ///< no start piece on the grid
        kErrorOffGrid = 4,       ///< the way on leads off the grid (at either end of the start piece too)
        kErrorNoConnection = 5,  ///< the next piece does not connect, or the start is met the wrong way
        kErrorOneWay = 6,        ///< a one-way piece entered against its direction
        kErrorRampDown = 7,      ///< a downward ramp not lying below the piece before it
        kErrorHeightStep = 8,    ///< an impossible height step, or a piece of unknown route type
        kErrorBelowPrevious = 9, ///< a raised piece lower than the piece before it
        kErrorRaisedGround = 10, ///< raised ground without a track piece in the way
        kErrorSecondList = 11,   ///< a second-list piece past index 6 in the way
        kErrorScenery = 12,      ///< a scenery piece in the way
        kErrorTooLong = 13,      ///< the route outgrows its pools of nodes or sections
    };

    CRouteNodeMan();
    ~CRouteNodeMan() override;
    CRouteNodeMan(const CRouteNodeMan&) = delete;
    CRouteNodeMan& operator=(const CRouteNodeMan&) = delete;

    /// Resets the route; 0.
    int StartManager() override;
    /// 0.
    int StopManager() override;

    /// The record of a piece kind; false (and an all-zero record) for a kind outside 0..44.
    static bool GetPieceConnections(int kind, SPieceConnections& out);
    /// The per-kind columns: route type (kRouteTypeNone outside 0..44), whether nodes on it narrow their
    /// lane, whether it must be entered along its rotation, and whether the next piece may lie lower.
    /// Every flag is false outside 0..44.
    static int GetRouteType(int kind);
    static bool IsNarrowingKind(int kind);
    static bool IsOneWayKind(int kind);
    static bool IsLevelDropAllowed(int kind);
    /// The route piece kind of a piece (main-list index, second-list index + 30); -1 for scenery, other
    /// objects and no piece.
    static int GetPieceKind(const CTrackObject* piece);

    /// Every node reset, no nodes, the route broken, no maps; the status moves to the previous status and
    /// becomes 1, and no error piece is kept.
    void Reset();
    /// Rebuilds the route from the world's current grid, on the race world's ground (the editor's builds
    /// use none).
    void BuildRoute();
    /// Rebuilds the route from `grid` (none: no start) with node heights from `ground` (none: 0).
    void BuildRoute(const CWorldGrid* grid, const IWorldTopographyLink* ground);
    /// The track editor builds with this set: no ground heights, and the old error piece's highlight off.
    void SetEditorBuild(bool editorBuild) { m_editorBuild = editorBuild; }
    bool IsEditorBuild() const { return m_editorBuild; }

    /// Whether the last build found no closed, drivable route.
    bool IsRouteBroken() const { return m_broken; }
    /// The status of the last build (ERouteStatus) and of the one before.
    int GetRouteStatus() const { return m_status; }
    int GetPreviousRouteStatus() const { return m_previousStatus; }
    /// Records `code` when the status is still 1 or `force` is set; the piece's grid column and row (x
    /// and z) become the error position, (-1, -1, -1) without a piece.
    void SetRouteError(int code, const CWorldObject* piece, bool force);
    /// The grid column (x) and row (z) of the piece at fault; -1 in all three when none.
    CVector GetRouteErrorPosition() const { return m_errorPosition; }
    /// The piece at fault on the world's current grid (or on `grid`): the piece on the error cell, else
    /// the cell's object; null without an error position.
    CWorldObject* GetRouteErrorPiece() const;
    CWorldObject* GetRouteErrorPiece(const CWorldGrid* grid) const;
    /// The help item that explains the status; -1 none.
    int GetRouteErrorHelpId() const;

    /// A copy of node i; a reset node for an index outside the route.
    CRouteNode GetNode(int i) const;
    int GetNodeCount() const { return m_nodeCount; }
    int GetSectionCount() const { return m_sectionCount; }
    /// The mean length of the straight stretches between corners, whole units (0 without corners).
    int GetStretchMean() const { return m_stretchMean; }
    /// The length of the route, whole units, the closing leg included on a closed route.
    int GetRouteLength() const { return m_routeLength; }
    /// The first section holding `node`; null when none. `index` (may be null) takes its index.
    const SRouteSection* GetSectionOfNode(int node, int* index) const;
    /// Section i, taking i < 0 as the last section and i past the end as section 0; null without sections.
    const SRouteSection* GetSectionWrapped(int i, int* index) const;
    /// The route piece kind of a cell; false outside the grid or without a route piece.
    bool GetTilePieceKind(int column, int row, int& kind) const;
    /// The offset from a cell to its piece's anchor cell ((0, 0) on an anchor); false outside the grid or
    /// without a route piece.
    bool GetTileAnchorOffset(int column, int row, int& dx, int& dz) const;
    /// The tile level of a cell (its height / 8); false outside the grid.
    bool GetTileLevel(int column, int row, int& level) const;
    /// The grid size of the last build.
    int GetGridColumns() const { return m_columns; }
    int GetGridRows() const { return m_rows; }

    // Queries on the built route. Distances are horizontal and truncated to whole units; with no nodes
    // every query answers "none".

    /// The nearest node to `position` (ties to the later node), skipping special pieces when asked. With
    /// a hint only nodes fewer than 5 route steps from it count, and the hint itself answers when none
    /// does. False when no node was set.
    bool FindNearestNode(const CVector& position, int& node, int hint = kNoNode,
                         bool skipSpecial = false) const;
    /// Among corner nodes: the nearest (ties to the later), or with a hint the fewest route steps from it
    /// (ties to the earlier). False when there is none.
    bool FindNearestCornerNode(const CVector& position, int& node, int hint = kNoNode) const;
    /// Among the nodes on the grid cell of `position`, the fewest route steps from `reference`; kNoNode
    /// when none is reachable.
    int FindNearestNodeOnTile(const CVector& position, int reference) const;
    /// Route steps between two nodes the shorter way round the ring; kUnreachable for a node outside the
    /// route or more than half the ring away.
    int GetRouteSteps(int a, int b) const;
    /// The length along the route from node 0 to node i.
    int GetRouteDistanceToNode(int i) const;
    /// The two nodes around `position` in route order (node 0 follows the last node); false with fewer
    /// than two candidates.
    bool GetRouteSegment(const CVector& position, int& from, int& to, int hint = kNoNode) const;
    /// The nearest node and whichever of its two neighbours is nearer, in route order; false with fewer
    /// than two nodes.
    bool GetNeighbourNodes(const CVector& position, int& a, int& b, int hint = kNoNode) const;
    /// The signed whole-unit offset of `position` from the route line through the nodes around it;
    /// positive on one side, negative on the other; 0 without a route.
    int GetLateralOffset(const CVector& position) const;
    /// The same, around the nearest node to a driver whose current node is `currentNode`.
    int GetDriverLateralOffset(const CVector& position, int currentNode) const;
    /// Whether a car can get from section `from` to section `to` over the height steps (the reset
    /// watchdog's rules; no error is recorded).
    bool CanReachSection(int from, int to) const;
    /// Whether the computer driver can climb from section `from` to section `to`.
    bool CanClimbTo(int from, int to) const;
    /// Whether some node lies on the grid cell of `position`.
    bool IsOnNodeTile(const CVector& position) const;

    /// Whether a route is aligned with a piece for a check mode: mode 6 always; mode 2 when the rotation
    /// is the direction (a rising ramp); modes 0, 1, 3, 4, 5 along or against it. No piece: true.
    static bool IsAlignedWith(const CTrackObject* piece, int mode, int direction);

protected:
    /// The footprint the route reads a piece by (its record's, unrotated, anchor first).
    virtual const std::vector<CTrackObject::SCellOffset>& FootprintOf(const CTrackObject& piece) const;

private:
    void FreeMaps();
    void MarkTiles();
    void MarkPiece(const CTrackObject& piece, int kind, int column, int row);
    std::uint16_t TileWord(int column, int row) const;
    bool IsInside(int column, int row) const;
    int TileKind(int column, int row) const;
    int LevelAt(int column, int row) const;
    int PieceCellIndex(const CTrackObject& piece, int column, int row) const;
    int TurnedConnection(const CTrackObject& piece, int cellIndex) const;
    CTrackObject* PieceAt(int column, int row) const;

    bool StepToNextTile(const CTrackObject* piece, int& column, int& row, int& direction) const;
    void Walk();
    void AddPieceNodes(CTrackObject& piece, int& column, int& row, int& direction);
    void AddPieceExtraNodes(const CTrackObject& piece, int column, int row);
    bool FindPieceEnds(const CTrackObject& piece, int& entry, int& exit) const;
    bool AddNodeAtTile(int column, int row, bool copyTurns);
    bool AddNodeAtPoint(const CVector& point);
    bool AddNode(const CVector& position, int kind, bool copyTurns);
    bool CheckNextTile(const CTrackObject& piece, int column, int row);
    bool CanEnterTile(const CTrackObject& piece, int column, int row, int direction);
    void FinishNode(int i);
    bool CheckSectionStep(int prev, int next, int cur, bool force);
    bool CheckSectionLevels();
    bool IsRisingRamp(const SRouteSection& section) const;
    bool IsFallingRamp(const SRouteSection& section) const;
    void ComputeRouteLength();
    void ComputeStretchMean();
    void MarkSectionsOnRoute();
    void Log(const std::string& text) const;

    bool IsNode(int i) const { return i >= 0 && i < m_nodeCount; }
    const CRouteNode& Node(int i) const { return m_nodes[static_cast<std::size_t>(i)]; }
    /// `node` and whichever of its neighbours lies nearer to `position`, in route order.
    void PairWithNearerNeighbour(const CVector& position, int node, int& from, int& to) const;
    int LateralOffset(const CVector& position, int a, int b) const;

    std::array<CRouteNode, kMaxNodes> m_nodes{};
    int m_nodeCount = 0;
    std::array<SRouteSection, kMaxSections> m_sections{};
    int m_sectionCount = 0;
    bool m_broken = true;
    std::uint16_t m_columns = 0;
    std::uint16_t m_rows = 0;
    std::vector<std::uint16_t> m_tileMap;
    std::vector<std::uint16_t> m_levelMap;
    int m_stretchMean = 0;
    int m_status = kRouteOk;
    int m_previousStatus = kRouteOk;
    CVector m_errorPosition{-1.0f, -1.0f, -1.0f};
    int m_routeLength = 0;
    bool m_editorBuild = false;
    bool m_outOfRoom = false; ///< a pool filled during the build

    // Only while a build runs.
    const CWorldGrid* m_grid = nullptr;
    const IWorldTopographyLink* m_ground = nullptr;
};

} // namespace zentrix
