// The automatic backups of the machine's parameter block that Put Parameters
// keeps before it writes a block into the machine: one file per restore in
// the folder "Hexwarden\Backups" below the user's local application data,
// named from the local date and time and the machine (its queue and a short
// form of its device instance), so that names sort oldest first and blocks of
// different machines never share a name. Only the newest kKeptParameterBackups are kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/device/System.h"
#include "platform/files/FileSystem.h"

namespace hw {

inline constexpr std::size_t kKeptParameterBackups = 20;

// The backup folder; throws FileException when the OS cannot tell the local
// application-data folder.
std::string ParameterBackupFolder(FileSystem& files);

// How a backup's name names a machine: its queue, then the last
// kInstanceShortForm characters of its device instance when it has one
// ("QMV-240 QMV0117").
inline constexpr std::size_t kInstanceShortForm = 8;
std::string BackupMachineName(std::string_view queue, std::string_view instance);

// The backup's file name for machine (BackupMachineName) at time now, e.g.
// "2026-12-09 17-45-03 QMV-240 QMV0117.par"; a character that no file name
// may hold is written as '_'.
std::string ParameterBackupName(const LocalTime& now, std::string_view machine);

// The machine a file was backed up from, when its name is a backup's name
// that names another machine than machine (BackupMachineName); nullopt
// otherwise.
std::optional<std::string> OtherMachineBackup(std::string_view fileName, std::string_view machine);

// Saves block as a new backup, creating the folder when needed, written the
// safe way (a temporary, flushed, then moved), and then removes the oldest
// backups beyond kKeptParameterBackups. Returns the backup's path. Throws
// FileException when the backup cannot be written; nothing is left then.
std::string SaveParameterBackup(FileSystem& files, System& system, std::string_view machine,
                                std::span<const std::uint8_t> block);

// The newest backup of machine (BackupMachineName); empty when there is
// none. Throws FileException when the folder cannot be told or listed.
std::string NewestParameterBackup(FileSystem& files, std::string_view machine);

}  // namespace hw
