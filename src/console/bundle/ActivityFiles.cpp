#include "console/bundle/ActivityFiles.h"

namespace hw {

namespace {

std::string SizeText(std::uint64_t size) {
    return std::string(" (") + std::to_string(size) + " bytes)";
}

// A file being written: passes everything through and tells its files its
// size once it is closed. It is closed while a failure is being handled
// too, so a size that cannot be read is left untold rather than thrown.
class WrittenFile final : public File {
  public:
    WrittenFile(std::unique_ptr<File> file, ActivityFiles& files, std::string path)
        : file_(std::move(file)), files_(files), path_(std::move(path)) {}
    ~WrittenFile() override {
        try {
            files_.RecordWritten(path_, file_->GetLength());
        } catch (...) {
        }
    }

    std::uint32_t Read(void* buffer, std::uint32_t n) override { return file_->Read(buffer, n); }
    void Write(const void* buffer, std::uint32_t n) override { file_->Write(buffer, n); }
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override {
        return file_->Seek(offset, from);
    }
    std::uint64_t GetLength() const override { return file_->GetLength(); }
    void Flush() override { file_->Flush(); }

  private:
    std::unique_ptr<File> file_;
    ActivityFiles& files_;
    std::string path_;
};

}  // namespace

std::unique_ptr<File> ActivityFiles::Open(const std::string& path, Access access) {
    std::unique_ptr<File> file = files_.Open(path, access);
    if (access == Access::Read) {
        log_.Add(std::string("Read ") + path + SizeText(file->GetLength()));
        return file;
    }
    return std::make_unique<WrittenFile>(std::move(file), *this, path);
}

void ActivityFiles::Replace(const std::string& from, const std::string& to) {
    files_.Replace(from, to);
    const auto written = written_.find(from);
    if (written == written_.end()) {
        log_.Add(std::string("Wrote ") + to + " (size not known)");
        return;
    }
    log_.Add(std::string("Wrote ") + to + SizeText(written->second));
    written_.erase(written);
}

void ActivityFiles::Remove(const std::string& path) {
    files_.Remove(path);
    written_.erase(path);
}

}  // namespace hw
