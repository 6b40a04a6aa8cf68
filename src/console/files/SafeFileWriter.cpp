#include "console/files/SafeFileWriter.h"

#include <utility>

namespace hw {

namespace {

// A file whose exceptions carry another name: the temporary file's errors
// reach the technician under the name of the file that was chosen.
class RenamedFile final : public File {
  public:
    RenamedFile(std::unique_ptr<File> file, const std::string& name)
        : file_(std::move(file)), name_(name) {}

    std::uint32_t Read(void* buffer, std::uint32_t n) override {
        return Renamed([&] { return file_->Read(buffer, n); });
    }
    void Write(const void* buffer, std::uint32_t n) override {
        Renamed([&] { file_->Write(buffer, n); });
    }
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override {
        return Renamed([&] { return file_->Seek(offset, from); });
    }
    std::uint64_t GetLength() const override {
        return Renamed([&] { return file_->GetLength(); });
    }
    void Flush() override {
        Renamed([&] { file_->Flush(); });
    }

  private:
    template <class Call>
    auto Renamed(Call call) const -> decltype(call()) {
        try {
            return call();
        } catch (const FileException& error) {
            throw FileException(error.cause(), name_);
        }
    }

    std::unique_ptr<File> file_;
    const std::string& name_;
};

}  // namespace

SafeFileWriter::SafeFileWriter(FileSystem& files, std::string path)
    : files_(files), path_(std::move(path)), temporary_(files.TemporaryNameBeside(path_)) {
    files_.CheckWritable(path_);
    try {
        file_ = std::make_unique<RenamedFile>(
            files_.Open(temporary_, FileSystem::Access::CreateWrite), path_);
    } catch (const FileException& error) {
        throw FileException(error.cause(), path_);
    }
}

SafeFileWriter::~SafeFileWriter() {
    try {
        Discard();
    } catch (...) {
        // Only a caller that discards itself can tell the technician; a
        // destructor, run while a failure is being handled, must not throw.
    }
}

void SafeFileWriter::Commit() {
    file_->Flush();
    file_.reset();
    files_.Replace(temporary_, path_);
    finished_ = true;
}

void SafeFileWriter::Discard() {
    file_.reset();
    if (finished_) return;
    finished_ = true;
    files_.Remove(temporary_);
}

}  // namespace hw
