#include "core/FileIO.h"

#include "model/XantuModel.h"
#include "text/VisibleText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xantu {

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

namespace {

// Writes all of `data` to `fd`, flushes it to the disk and closes `fd`;
// 0, or the errno of the step that failed (the descriptor is closed then
// too).
int WriteSyncClose(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int saved = errno;
            ::close(fd);
            return saved;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        return saved;
    }
    return ::close(fd) != 0 ? errno : 0;
}

} // namespace

void WriteWholeFile(const std::string& path, std::string_view data, unsigned mode) {
    auto fail = [&](const char* what) {
        std::string reason = std::strerror(errno);
        throw Exception("Die Datei \"" + path + "\" kann nicht " + what + ": " + reason);
    };
    std::string tmp = path + ".tmpXXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        fail("geschrieben werden");
    ::fchmod(fd, static_cast<mode_t>(mode));
    if (const int err = WriteSyncClose(fd, data)) {
        ::unlink(tmp.c_str());
        errno = err;
        fail("geschrieben werden");
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(tmp.c_str());
        errno = saved;
        fail("ersetzt werden");
    }
}

std::function<int(std::string_view step, const std::string& path)> FilePairFault;

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + VisibleText(path) + "\"";
}

} // namespace

TReadFailure ReadListFile(const std::string& path, std::string& out, std::string* message) {
    out.clear();
    auto fail = [&](TReadFailure why, const std::string& text) {
        out.clear();
        out.shrink_to_fit();
        if (message)
            *message = "Die Datei " + Quoted(path) + " " + text;
        return why;
    };
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return fail(TReadFailure::Missing, "wurde nicht gefunden.");
        return fail(TReadFailure::NotReadable,
                    std::string("kann nicht gelesen werden: ") + std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode))
        return fail(TReadFailure::Folder, "ist ein Ordner, keine Datei.");
    if (!S_ISREG(st.st_mode))
        return fail(TReadFailure::NotRegular,
                    "ist keine gew\xC3\xB6hnliche Datei (Ger\xC3\xA4t, FIFO oder Socket).");
    if (static_cast<unsigned long long>(st.st_size) > kMaxListFileSize)
        return fail(TReadFailure::TooLarge, "ist zu gro\xC3\x9F (mehr als 256 MB).");
    // Opened without blocking, and checked again once open: the path may have
    // been swapped for a FIFO meanwhile.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return fail(TReadFailure::NotReadable,
                    std::string("kann nicht gelesen werden: ") + std::strerror(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(TReadFailure::NotRegular,
                    "ist keine gew\xC3\xB6hnliche Datei (Ger\xC3\xA4t, FIFO oder Socket).");
    }
    if (st.st_size > 0)
        out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int saved = errno;
            ::close(fd);
            return fail(TReadFailure::NotReadable,
                        std::string("kann nicht gelesen werden: ") + std::strerror(saved));
        }
        if (n == 0)
            break;
        if (out.size() + static_cast<std::size_t>(n) > kMaxListFileSize) {
            ::close(fd);
            return fail(TReadFailure::TooLarge, "ist zu gro\xC3\x9F (mehr als 256 MB).");
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return TReadFailure::None;
}

void ReadListFileOrThrow(const std::string& path, std::string& out) {
    std::string message;
    if (ReadListFile(path, out, &message) != TReadFailure::None)
        throw Exception(message);
}

namespace {

int Fault(std::string_view step, const std::string& path) {
    return FilePairFault ? FilePairFault(step, path) : 0;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0644 & ~mask;
}

// A complete, flushed temporary file beside `target`; its path, or throws.
std::string WriteTemporary(const std::string& target, std::string_view data, mode_t mode) {
    auto fail = [&](int err, const std::string& tmp) {
        if (!tmp.empty())
            ::unlink(tmp.c_str());
        throw Exception("Die Datei " + Quoted(target) +
                        " kann nicht geschrieben werden: " + std::strerror(err));
    };
    std::string tmp = target + ".tmpXXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        fail(errno, {});
    if (int err = Fault("write", target)) {
        ::close(fd);
        fail(err, tmp);
    }
    ::fchmod(fd, mode);
    if (const int err = WriteSyncClose(fd, data))
        fail(err, tmp);
    return tmp;
}

mode_t ModeFor(const std::string& target, mode_t fresh) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    return fresh;
}

void SyncFolder(const std::string& file) {
    std::string folder = FolderOf(file);
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int Rename(const std::string& from, const std::string& to) {
    if (int err = Fault("rename", to))
        return err;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace

void WriteFilePair(const std::string& path1, std::string_view data1, const std::string& path2,
                   std::string_view data2) {
    const mode_t fresh = NewFileMode();
    const std::string tmp1 = WriteTemporary(path1, data1, ModeFor(path1, fresh));
    std::string tmp2;
    try {
        tmp2 = WriteTemporary(path2, data2, ModeFor(path2, fresh));
    } catch (...) {
        ::unlink(tmp1.c_str());
        throw;
    }
    auto drop = [&] {
        ::unlink(tmp1.c_str());
        ::unlink(tmp2.c_str());
    };
    // The first target's old bytes stay reachable under a second name until
    // the second rename has succeeded.
    std::string old1;
    bool linked = false;
    struct stat st {};
    if (::lstat(path1.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        old1 = path1 + ".oldXXXXXX";
        int fd = ::mkstemp(old1.data());
        if (fd >= 0) {
            ::close(fd);
            ::unlink(old1.c_str());
            linked = ::link(path1.c_str(), old1.c_str()) == 0;
        }
        if (!linked && (fd < 0 || ::rename(path1.c_str(), old1.c_str()) != 0)) {
            const int saved = errno;
            drop();
            throw Exception("Die Datei " + Quoted(path1) +
                            " kann nicht ersetzt werden: " + std::strerror(saved));
        }
    }
    auto putBack = [&] {
        if (!old1.empty())
            ::rename(old1.c_str(), path1.c_str());
    };
    if (int err = Rename(tmp1, path1)) {
        if (!linked)
            putBack();
        else
            ::unlink(old1.c_str());
        drop();
        throw Exception("Die Datei " + Quoted(path1) + " kann nicht ersetzt werden: " + std::strerror(err));
    }
    if (int err = Rename(tmp2, path2)) {
        if (!old1.empty())
            putBack();
        else
            ::unlink(path1.c_str());
        ::unlink(tmp2.c_str());
        throw Exception("Die Datei " + Quoted(path2) + " kann nicht ersetzt werden: " + std::strerror(err) +
                        "\rBeide Dateien sind unver\xC3\xA4ndert.");
    }
    if (!old1.empty())
        ::unlink(old1.c_str());
    SyncFolder(path1);
    SyncFolder(path2);
}

std::string FolderOf(const std::string& path) {
    std::size_t p = path.find_last_of('/');
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileNameOf(const std::string& path) {
    std::size_t p = path.find_last_of('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ProgramFolder() {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "./";
    buf[n] = '\0';
    return FolderOf(buf);
}

} // namespace xantu
