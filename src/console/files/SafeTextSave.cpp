#include "console/files/SafeTextSave.h"

#include <cstdint>
#include <optional>

#include "console/files/FileSteps.h"
#include "console/files/SafeFileWriter.h"

namespace hw {

bool SaveTextSafely(Reporter& reporter, FileSystem& files, const std::string& path,
                    std::string_view text) {
    std::optional<SafeFileWriter> out;
    const bool saved = FileStepSucceeds(reporter, [&] {
        out.emplace(files, path);
        out->file().Write(text.data(), static_cast<std::uint32_t>(text.size()));
        out->Commit();
    });
    if (!saved && out) FileStepSucceeds(reporter, [&] { out->Discard(); });
    return saved;
}

}  // namespace hw
