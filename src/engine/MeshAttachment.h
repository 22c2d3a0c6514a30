#pragma once

namespace zentrix {

/// Something the game hangs on a mesh; it lives as long as the mesh and its clones.
class CMeshAttachment {
public:
    virtual ~CMeshAttachment() = default;
};

} // namespace zentrix
