// The disk files the console reads and writes: the parameter block and the
// report text the technician asks for, reached by path, and the console's own
// backups in the user's local application-data folder.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/File.h"
#include "platform/files/FileErrors.h"

namespace hw {

class FileSystem {
  public:
    enum class Access {
        Read,         // an existing file, read from its start
        CreateWrite,  // created, or emptied when it exists, and written
    };

    virtual ~FileSystem() = default;

    // Opens the file at path. Throws FileException with the cause and path
    // when it cannot be opened.
    virtual std::unique_ptr<File> Open(const std::string& path, Access access) = 0;

    // Checks, before anything is written, that the file at path could be
    // replaced: opens it for writing without emptying it, creating it when
    // there is none, and closes it again; a file the check created is
    // removed. Throws FileException with the cause and path when the file
    // cannot be opened so (read-only, in use, in a folder that cannot be
    // written or does not exist).
    virtual void CheckWritable(const std::string& path) = 0;

    // Whether a file exists at path.
    virtual bool Exists(const std::string& path) = 0;

    // Moves the closed file from over the file to, replacing to when it
    // exists, and returns only once the move is on the disk. Throws
    // FileException with the cause, naming to, when the move fails; both
    // files are then as they were.
    virtual void Replace(const std::string& from, const std::string& to) = 0;

    // Removes the file. Throws FileException with the cause and path when it
    // cannot be removed.
    virtual void Remove(const std::string& path) = 0;

    // The current user's own application-data folder on this PC (the local,
    // not the roaming one), without a trailing separator. Throws
    // FileException (FileNotFound) when the OS cannot tell it, reported as
    // "the local application data folder was not found.".
    virtual std::string LocalAppDataFolder() = 0;

    // Creates the folder at path and every missing folder above it; does
    // nothing when it exists. Throws FileException with the cause and the
    // folder that could not be made.
    virtual void CreateFolder(const std::string& path) = 0;

    // The names, without their folder, of the files (not folders) directly in
    // the folder at path, in no particular order; none when the folder does
    // not exist or cannot be listed.
    virtual std::vector<std::string> FileNamesIn(const std::string& path) = 0;

    // A path in the folder of path that names no existing file, for a file
    // that is to replace path later.
    virtual std::string TemporaryNameBeside(const std::string& path) = 0;
};

// The path of a file called name in the folder of path: what precedes the
// last '\\' or '/' of path, or its drive "C:" when it has neither, or
// nothing.
std::string PathBeside(std::string_view path, std::string_view name);

}  // namespace hw
