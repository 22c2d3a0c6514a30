#include "foundation/resources/JovUserList.h"

#include "foundation/base/Messages.h"
#include "platform/fs/FileSystem.h"

namespace zentrix {

CJovUserList::CJovUserList(std::string path) : m_path(std::move(path)) {}

bool CJovUserList::Load() {
    m_content.clear();
    auto read = plat::fs::ReadWholeFile(m_path);
    switch (read.error) {
    case plat::fs::Error::kNone:
        m_content = std::move(read.bytes);
        return true;
    case plat::fs::Error::kNotFound:
        return true;
    case plat::fs::Error::kPathNotFound:
        DebugOutput("JovConfig: couldn't open user list\n");
        return false;
    default:
        DebugOutput("JovConfig: couldn't read user list\n");
        return false;
    }
}

bool CJovUserList::Save() const {
    const auto error = plat::fs::ReplaceFile(m_path, m_content);
    if (error == plat::fs::Error::kNone)
        return true;
    DebugOutput(error == plat::fs::Error::kOther ? "JovConfig: couldn't write user list\n"
                                                 : "JovConfig: couldn't save user list\n");
    return false;
}

std::vector<std::string_view> CJovUserList::Names() const {
    std::vector<std::string_view> names;
    const char* text = reinterpret_cast<const char*>(m_content.data());
    std::size_t start = 0;
    for (std::size_t i = 0; i < m_content.size(); ++i) {
        if (m_content[i] == 0) {
            names.emplace_back(text + start, i - start);
            start = i + 1;
        }
    }
    if (start < m_content.size())
        names.emplace_back(text + start, m_content.size() - start);
    return names;
}

int CJovUserList::Find(std::string_view name) const {
    const auto names = Names();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    return -1;
}

int CJovUserList::Add(std::string_view name) {
    const int position = static_cast<int>(Names().size());
    // A last name without its NUL gets it first, so it keeps its position.
    if (!m_content.empty() && m_content.back() != 0)
        m_content.push_back(0);
    m_content.insert(m_content.end(), name.begin(), name.end());
    m_content.push_back(0);
    return position;
}

} // namespace zentrix
