#pragma once

// The single-instance guard of the player and its configuration dialog: an exclusive flock on a lock
// file named after the documented semaphore, in the private temporary folder. The kernel releases the
// lock when the process ends, however it ends.

#include <filesystem>
#include <memory>
#include <string_view>

namespace lv {

inline constexpr std::string_view kScreenSaverSemaphore = "LVScreenSaverSemaphore";

class SingleInstanceGuard {
  public:
    // Takes the lock of that name; nullptr when another process holds it (or the lock file cannot be
    // opened, which is treated the same: starting a second player is worse than starting none).
    static std::unique_ptr<SingleInstanceGuard> acquire(std::string_view name = kScreenSaverSemaphore);
    // As above, with the lock file in the given folder.
    static std::unique_ptr<SingleInstanceGuard> acquireIn(const std::filesystem::path& folder,
                                                          std::string_view name);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  private:
    explicit SingleInstanceGuard(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace lv
