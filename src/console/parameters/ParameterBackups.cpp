#include "console/parameters/ParameterBackups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "console/files/SafeFileWriter.h"

namespace hw {

namespace {

constexpr std::string_view kBackupSubfolder = "\\Hexwarden\\Backups";
constexpr std::string_view kBackupExtension = ".par";
// "YYYY-MM-DD HH-MM-SS", the start of every backup's name.
constexpr std::string_view kStampPattern = "0000-00-00 00-00-00";

std::string Stamp(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d-%02d-%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

// A printer queue may be named anything, a share "\\server\queue" among them;
// the name must not reach outside the backup folder.
std::string FileNameText(std::string_view queue) {
    std::string text(queue);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return text;
}

// A name this console gave a backup: the stamp, then anything, then ".par".
bool IsBackupName(std::string_view name) {
    if (name.size() < kStampPattern.size() + kBackupExtension.size()) return false;
    if (!name.ends_with(kBackupExtension)) return false;
    for (std::size_t i = 0; i < kStampPattern.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
        if (kStampPattern[i] == '0' ? !digit : name[i] != kStampPattern[i]) return false;
    }
    return true;
}

// A second backup within one second gets "-2", "-3" and so on after the
// stamp, which sorts it after the first.
std::string FreePath(FileSystem& files, const std::string& folder, const std::string& name) {
    std::string path = folder + "\\" + name;
    for (int n = 2; files.Exists(path); ++n) {
        path = folder + "\\" + name.substr(0, kStampPattern.size()) + "-" + std::to_string(n) +
               name.substr(kStampPattern.size());
    }
    return path;
}

// A backup that cannot be removed now is left for the next restore to try:
// the new backup is safe either way. The new one, newName, is never removed:
// with the PC's clock behind the backups there, its name sorts oldest.
void RemoveOldBackups(FileSystem& files, const std::string& folder, const std::string& newName) {
    std::vector<std::string> names = files.FileNamesIn(folder);
    std::erase_if(names,
                  [&](const std::string& name) { return name == newName || !IsBackupName(name); });
    // The others that may stay beside the new one.
    constexpr std::size_t kKeptBeside = kKeptParameterBackups - 1;
    if (names.size() <= kKeptBeside) return;
    std::sort(names.begin(), names.end());
    const auto oldest = names.size() - kKeptBeside;
    for (std::size_t i = 0; i < oldest; ++i) {
        try {
            files.Remove(folder + "\\" + names[i]);
        } catch (const FileException&) {
        }
    }
}

}  // namespace

std::string ParameterBackupFolder(FileSystem& files) {
    return files.LocalAppDataFolder() + std::string(kBackupSubfolder);
}

std::string BackupMachineName(std::string_view queue, std::string_view instance) {
    if (instance.empty()) return std::string(queue);
    const std::size_t from =
        instance.size() > kInstanceShortForm ? instance.size() - kInstanceShortForm : 0;
    return std::string(queue) + " " + std::string(instance.substr(from));
}

std::string ParameterBackupName(const LocalTime& now, std::string_view machine) {
    return Stamp(now) + " " + FileNameText(machine) + std::string(kBackupExtension);
}

// After the stamp: "-<n>" of a second backup within one second, a blank,
// then the machine.
std::optional<std::string> OtherMachineBackup(std::string_view fileName, std::string_view machine) {
    if (!IsBackupName(fileName)) return std::nullopt;
    std::string_view rest = fileName.substr(kStampPattern.size());
    rest.remove_suffix(kBackupExtension.size());
    if (rest.starts_with('-')) {
        rest.remove_prefix(1);
        while (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest.front())) != 0) {
            rest.remove_prefix(1);
        }
    }
    if (!rest.starts_with(' ')) return std::nullopt;
    rest.remove_prefix(1);
    if (rest == FileNameText(machine)) return std::nullopt;
    return std::string(rest);
}

std::string SaveParameterBackup(FileSystem& files, System& system, std::string_view machine,
                                std::span<const std::uint8_t> block) {
    const std::string folder = ParameterBackupFolder(files);
    files.CreateFolder(folder);
    const std::string path = FreePath(files, folder, ParameterBackupName(system.Now(), machine));
    SafeFileWriter out(files, path);
    out.file().Write(block.data(), static_cast<std::uint32_t>(block.size()));
    out.Commit();
    RemoveOldBackups(files, folder, path.substr(folder.size() + 1));
    return path;
}

std::string NewestParameterBackup(FileSystem& files, std::string_view machine) {
    const std::string folder = ParameterBackupFolder(files);
    const std::string end = " " + FileNameText(machine) + std::string(kBackupExtension);
    std::vector<std::string> names = files.FileNamesIn(folder);
    std::erase_if(names, [&](const std::string& name) {
        if (!IsBackupName(name)) return true;
        // After the stamp and its "-2", "-3"..., if any, the machine alone.
        std::string_view rest = std::string_view(name).substr(kStampPattern.size());
        if (rest.starts_with('-')) rest.remove_prefix(std::min(rest.find(' '), rest.size()));
        return rest != end;
    });
    if (names.empty()) return {};
    return folder + "\\" + *std::max_element(names.begin(), names.end());
}

}  // namespace hw
