#include "platform/SingleInstance.h"

#include "platform/Paths.h"

#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace lv {

std::unique_ptr<SingleInstanceGuard> SingleInstanceGuard::acquireIn(const std::filesystem::path& folder,
                                                                    std::string_view name) {
    const std::filesystem::path file = folder / (std::string(name) + ".lock");
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SingleInstanceGuard>(new SingleInstanceGuard(fd));
}

std::unique_ptr<SingleInstanceGuard> SingleInstanceGuard::acquire(std::string_view name) {
    return acquireIn(privateTempFolder(), name);
}

SingleInstanceGuard::~SingleInstanceGuard() {
    ::close(fd_); // closing the only descriptor releases the lock
}

} // namespace lv
