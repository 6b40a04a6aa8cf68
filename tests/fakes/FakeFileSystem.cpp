#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

namespace hw::test {

namespace {

std::uint64_t Room(std::uint64_t limit, std::uint64_t used) {
    return limit > used ? limit - used : 0;
}

}  // namespace

// One open file: reads and writes the byte vector of its path in place.
class FakeFileSystem::OpenFile final : public File {
  public:
    OpenFile(FakeFileSystem& owner, std::string path)
        : owner_(owner), path_(std::move(path)), bytes_(owner.files[path_]) {
        ++owner_.openFiles;
        ++owner_.openCounts_[path_];
    }
    ~OpenFile() override {
        owner_.events.push_back("close " + path_);
        --owner_.openFiles;
        if (--owner_.openCounts_[path_] == 0) owner_.openCounts_.erase(path_);
    }

    std::uint32_t Read(void* buffer, std::uint32_t n) override {
        const auto available = bytes_.size() - std::min<std::size_t>(position_, bytes_.size());
        auto count = static_cast<std::uint32_t>(std::min<std::size_t>(n, available));
        if (owner_.readFailsAfter) {
            const std::uint64_t room = Room(*owner_.readFailsAfter, owner_.read_);
            if (room == 0 && count > 0) throw FileException(FileException::Cause::Generic, path_);
            count = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, room));
        }
        if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        owner_.read_ += count;
        return count;
    }

    void Write(const void* buffer, std::uint32_t n) override {
        owner_.events.push_back("write " + path_);
        std::uint32_t count = n;
        if (owner_.diskFullAfter) {
            const std::uint64_t room = Room(*owner_.diskFullAfter, owner_.written_);
            count = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, room));
        }
        if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
        if (count > 0) std::memcpy(bytes_.data() + position_, buffer, count);
        position_ += count;
        owner_.written_ += count;
        if (count < n) throw FileException(FileException::Cause::DiskFull, path_);
    }

    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override {
        std::int64_t base = 0;
        if (from == SeekFrom::Current) base = static_cast<std::int64_t>(position_);
        if (from == SeekFrom::End) base = static_cast<std::int64_t>(bytes_.size());
        if (base + offset < 0) throw FileException(FileException::Cause::BadPath, path_);
        position_ = static_cast<std::size_t>(base + offset);
        return position_;
    }

    std::uint64_t GetLength() const override {
        if (owner_.lengthFailure) throw FileException(*owner_.lengthFailure, path_);
        return bytes_.size();
    }

    void Flush() override {
        owner_.events.push_back("flush " + path_);
        if (!owner_.flushFailure) return;
        const auto cause = *owner_.flushFailure;
        owner_.flushFailure.reset();
        throw FileException(cause, path_);
    }

  private:
    FakeFileSystem& owner_;
    std::string path_;
    Bytes& bytes_;  // map nodes stay put while the map changes
    std::size_t position_ = 0;
};

void FakeFileSystem::Put(const std::string& path, std::string_view contents) {
    files[path] = Bytes(contents.begin(), contents.end());
}

std::optional<std::string> FakeFileSystem::Text(const std::string& path) const {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return std::string(found->second.begin(), found->second.end());
}

std::optional<FileException::Cause> FakeFileSystem::OpenFailure(const std::string& path) const {
    auto failure = openFailures.find(path);
    if (failure == openFailures.end()) failure = openFailures.find(PathBeside(path, ""));
    if (failure != openFailures.end()) return failure->second;
    if (openCounts_.count(path) != 0) return FileException::Cause::SharingViolation;
    const std::string folder = PathBeside(path, "");
    if (!localAppData.empty() && folder.rfind(localAppData + "\\", 0) == 0 &&
        folders.count(folder.substr(0, folder.size() - 1)) == 0) {
        return FileException::Cause::BadPath;
    }
    return std::nullopt;
}

std::unique_ptr<File> FakeFileSystem::Open(const std::string& path, Access access) {
    opens.emplace_back(path, access);
    if (const auto cause = OpenFailure(path)) throw FileException(*cause, path);
    if (access == Access::Read) {
        if (files.count(path) == 0) throw FileException(FileException::Cause::FileNotFound, path);
    } else {
        files[path].clear();
    }
    return std::make_unique<OpenFile>(*this, path);
}

// Opening for writing without emptying changes nothing in memory.
void FakeFileSystem::CheckWritable(const std::string& path) {
    if (const auto cause = OpenFailure(path)) throw FileException(*cause, path);
}

bool FakeFileSystem::Exists(const std::string& path) {
    return files.count(path) != 0;
}

void FakeFileSystem::Replace(const std::string& from, const std::string& to) {
    replaces.emplace_back(from, to);
    events.push_back("replace " + from);
    if (replaceFailure) {
        const auto cause = *replaceFailure;
        replaceFailure.reset();
        throw FileException(cause, to);
    }
    if (openCounts_.count(from) != 0 || openCounts_.count(to) != 0) {
        throw FileException(FileException::Cause::SharingViolation, to);
    }
    const auto source = files.find(from);
    if (source == files.end()) throw FileException(FileException::Cause::FileNotFound, to);
    Bytes bytes = std::move(source->second);
    files.erase(source);
    files[to] = std::move(bytes);
}

void FakeFileSystem::Remove(const std::string& path) {
    removes.push_back(path);
    events.push_back("remove " + path);
    if (removeFailure) throw FileException(*removeFailure, path);
    if (openCounts_.count(path) != 0) {
        throw FileException(FileException::Cause::SharingViolation, path);
    }
    if (files.erase(path) == 0) throw FileException(FileException::Cause::FileNotFound, path);
}

std::string FakeFileSystem::LocalAppDataFolder() {
    if (localAppData.empty()) {
        throw FileException(FileException::Cause::FileNotFound,
                            "the local application data folder");
    }
    return localAppData;
}

// Made from the top down; a folder listed in openFailures (with its trailing
// '\\') cannot be made.
void FakeFileSystem::CreateFolder(const std::string& path) {
    std::vector<std::string> chain;
    for (std::string folder = path; folder.size() > localAppData.size();
         folder = folder.substr(0, folder.find_last_of('\\'))) {
        chain.push_back(folder);
    }
    for (auto folder = chain.rbegin(); folder != chain.rend(); ++folder) {
        const auto failure = openFailures.find(*folder + "\\");
        if (failure != openFailures.end()) throw FileException(failure->second, *folder);
        folders.insert(*folder);
    }
}

// Names in reverse order, as no caller may rely on any order.
std::vector<std::string> FakeFileSystem::FileNamesIn(const std::string& path) {
    std::vector<std::string> names;
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (PathBeside(file->first, "") == path + "\\") {
            names.push_back(file->first.substr(path.size() + 1));
        }
    }
    return names;
}

std::string FakeFileSystem::TemporaryNameBeside(const std::string& path) {
    for (;;) {
        std::string candidate = PathBeside(path, "~hw" + std::to_string(nextTemporary_++) + ".tmp");
        if (files.count(candidate) == 0) return candidate;
    }
}

}  // namespace hw::test
