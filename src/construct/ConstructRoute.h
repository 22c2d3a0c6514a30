#pragma once

namespace zentrix {

class CWorldObject;

/// The route over the track as the editor uses it: rebuilt after each edit, and telling which piece
/// breaks it, how, and which help item explains it. The route manager fills it.
class IConstructRoute {
public:
    virtual ~IConstructRoute() = default;

    /// Builds the route over the current grid as the editor does (without racers).
    virtual void Rebuild() = 0;
    /// The piece at which the last build stopped; null when none.
    virtual CWorldObject* GetErrorPiece() = 0;
    /// The last build's status: 1 a closed route, 2 and 3 gaps, 4 to 12 pieces that do not join.
    virtual int GetStatus() = 0;
    /// The help item that explains the status (-1 none).
    virtual int GetErrorHelpId() = 0;
    /// Forgets the error: status 1 and no error piece.
    virtual void ResetError() = 0;
};

} // namespace zentrix
