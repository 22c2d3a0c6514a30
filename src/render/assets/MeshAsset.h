#pragma once

#include <memory>
#include <string>

namespace zentrix {

class CAssetMan;
class CVornMesh;

/// One game mesh read from a KMB asset in the libraries, else from a KMT or KMB file at its path.
class CMeshAsset {
public:
    /// Reads the mesh; loadingPath is set to the path first, so that the textures the mesh names are
    /// looked for beside it.
    CMeshAsset(int id, const std::string& path, CAssetMan& assets, std::string& loadingPath);
    virtual ~CMeshAsset();
    CMeshAsset(const CMeshAsset&) = delete;
    CMeshAsset& operator=(const CMeshAsset&) = delete;

    int GetId() const { return m_id; }
    CVornMesh* GetMesh() const { return m_mesh.get(); }
    bool IsLoaded() const { return m_loaded; }
    /// The path after its last "\".
    const std::string& GetName() const { return m_name; }
    const std::string& GetPath() const { return m_path; }

private:
    int m_id;
    std::unique_ptr<CVornMesh> m_mesh;
    bool m_loaded = false;
    std::string m_name;
    std::string m_path;
};

} // namespace zentrix
