#include "appended_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tiderune {

int AppendedFile::open(const std::filesystem::path& path) {
    close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    return fd_ >= 0 ? 0 : errno;
}

int AppendedFile::append(std::string_view line) {
    if (fd_ < 0) return EBADF;
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // A short write is followed by one that says why (a full disk, a size limit).
        const int error = n < 0 ? errno : ENOSPC;
        // What went in of the line is taken out again: it ends where the file offset stands
        // now. A device such as /dev/full has no size to cut back, and holds nothing anyway.
        struct stat st {};
        if (done > 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
            const off_t end = ::lseek(fd_, 0, SEEK_CUR);
            if (end >= static_cast<off_t>(done)) (void)::ftruncate(fd_, end - static_cast<off_t>(done));
        }
        return error;
    }
    return 0;
}

int AppendedFile::close() {
    if (fd_ < 0) return 0;
    const int result = ::close(fd_) == 0 ? 0 : errno;
    fd_ = -1;
    return result;
}

}  // namespace tiderune
