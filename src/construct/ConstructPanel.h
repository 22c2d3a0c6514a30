#pragma once

#include <string>

namespace zentrix {

/// What the track editor tells its main panel (slide-out 0) and asks it. The editor's panel implements
/// it; without that panel the editor is told nothing, and the track is never too long.
class IConstructPanel {
public:
    virtual ~IConstructPanel() = default;

    /// The palette shows the piece as chosen; -1 drops the choice (no tool).
    virtual void SelectPiece(int assetId) = 0;
    /// Frames palette cell 0..14; -1 none.
    virtual void SetHighlightedCell(int cell) = 0;
    /// Frames the palette cell of the world's piece in hand.
    virtual void HighlightCurrentPieceCell() = 0;
    /// Turns the erase toggle off.
    virtual void UncheckEraseToggle() = 0;
    /// Shows the track's name.
    virtual void SetTrackNameText(const std::string& name) = 0;
    /// Whether the track is longer than the grid allows.
    virtual bool IsTrackTooLong() = 0;
};

} // namespace zentrix
