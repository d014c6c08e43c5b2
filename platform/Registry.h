#pragma once

// The few registry values the system reads and writes, kept in "registry.ini" in the settings folder
// (lv::windowsDirectory()): one section per key path, one line per value. Key paths and value names
// compare without regard to letter case, like the registry's.

#include "platform/ProfileFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lv {

enum class RegistryRoot { CurrentUser, ClassesRoot };

class Registry {
  public:
    // The key every user's desktop settings live under; it always exists.
    static constexpr std::string_view kDesktopKey = "Control Panel\\Desktop";

    // The store in the settings folder.
    Registry();
    explicit Registry(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& path() const { return file_.path(); }

    // True when a value was written under the key, and always for the desktop key.
    bool keyExists(RegistryRoot root, std::string_view keyPath) const;
    // A value name "" is the key's default value.
    std::optional<std::string> readString(RegistryRoot root, std::string_view keyPath,
                                          std::string_view name) const;
    // An integer value; a missing or non-numeric value reads as fallback.
    int readInteger(RegistryRoot root, std::string_view keyPath, std::string_view name, int fallback) const;
    // Creates the key when missing. Throws lv::IoError when the store cannot be written.
    void writeString(RegistryRoot root, std::string_view keyPath, std::string_view name,
                     std::string_view value);

  private:
    ProfileFile file_;
};

} // namespace lv
