// The disk files the console reads and writes when the technician asks: the
// parameter block and the report text, reached by path.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/File.h"
#include "platform/FileErrors.h"

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

    // A path in the folder of path that names no existing file, for a file
    // that is to replace path later.
    virtual std::string TemporaryNameBeside(const std::string& path) = 0;
};

// The path of a file called name in the folder of path: what precedes the
// last '\\' or '/' of path, or its drive "C:" when it has neither, or
// nothing.
std::string PathBeside(std::string_view path, std::string_view name);

}  // namespace hw
