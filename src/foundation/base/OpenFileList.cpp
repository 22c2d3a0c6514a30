#include "foundation/base/OpenFileList.h"

#include "foundation/base/Messages.h"

#include <forward_list>
#include <memory>

namespace zentrix {

namespace {

std::forward_list<std::unique_ptr<CNamedFile>>& Files() {
    static std::forward_list<std::unique_ptr<CNamedFile>> files;
    return files;
}

} // namespace

CNamedFile* OpenRegisteredFile(const char* name, const char* mode) {
    auto file = std::make_unique<CNamedFile>();
    if (!file->Open(name, mode))
        return nullptr;
    Files().push_front(std::move(file));
    return Files().front().get();
}

void CloseRegisteredFile(CNamedFile* file) {
    auto& files = Files();
    for (auto before = files.before_begin(), it = files.begin(); it != files.end(); before = it++) {
        if (it->get() == file) {
            files.erase_after(before); // the destructor closes it
            return;
        }
    }
    ReportError("Attemping to close a file pointer that does not exist!\n");
}

void CloseAllFiles() {
    Files().clear();
}

} // namespace zentrix
