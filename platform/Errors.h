#pragma once

#include <stdexcept>
#include <string>

namespace lv {

// An error whose message is fit to show to the user as it stands.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written; carries the path and the reason.
class IoError : public Error {
  public:
    IoError(const std::string& path, const std::string& reason)
        : Error(reason + ": " + path), path_(path), reason_(reason) {}
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string path_;
    std::string reason_;
};

// A picture stream could not be decoded or encoded.
class PictureError : public Error {
  public:
    using Error::Error;
};

} // namespace lv
