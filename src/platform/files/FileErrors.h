// The exceptions that file objects raise. Only file objects throw; their
// callers catch at once and report through Alerts::ReportError.
#pragma once

#include <exception>
#include <string>

namespace hw {

class FrameworkException : public std::exception {
  public:
    // The error report shown to the technician; empty when there is none.
    virtual std::string ErrorMessage() const = 0;
    const char* what() const noexcept override { return "hexwarden framework exception"; }
};

class FileException : public FrameworkException {
  public:
    enum class Cause {
        None,
        Generic,
        FileNotFound,
        BadPath,
        AccessDenied,
        SharingViolation,
        DiskFull,
        EndOfFile,
    };

    FileException(Cause cause, std::string fileName)
        : cause_(cause), fileName_(std::move(fileName)) {}

    Cause cause() const { return cause_; }
    const std::string& fileName() const { return fileName_; }

    // The cause text with the file's name in place of %1, e.g.
    // "report.txt was not found.".
    std::string ErrorMessage() const override;

  private:
    Cause cause_;
    std::string fileName_;
};

class MemoryException : public FrameworkException {
  public:
    std::string ErrorMessage() const override { return "Out of memory."; }
};

}  // namespace hw
