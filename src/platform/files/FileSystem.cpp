#include "platform/files/FileSystem.h"

namespace hw {

std::string PathBeside(std::string_view path, std::string_view name) {
    std::size_t folderEnd = path.find_last_of("\\/");
    if (folderEnd != std::string_view::npos) {
        ++folderEnd;
    } else if (path.size() >= 2 && path[1] == ':') {
        folderEnd = 2;
    } else {
        folderEnd = 0;
    }
    std::string result(path.substr(0, folderEnd));
    result += name;
    return result;
}

}  // namespace hw
