#include "replace_file.h"

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::array interruptions{SIGINT, SIGTERM, SIGHUP};

// The new file while it is being written, for the signal handler, which
// may only look at plain static data.
char pendingPath[PATH_MAX];
volatile std::sig_atomic_t pendingExists = 0;

extern "C" void removePendingThenDie(int signal)
{
    if (pendingExists)
        ::unlink(pendingPath);
    // SA_RESETHAND has put back the default action: the program ends as
    // the signal asked, once the handler returns at the latest.
    ::raise(signal);
}

// The process's file mode creation mask, as Linux reports it, so that a
// new sheet gets the mode any new file would. umask() can only read the
// mask by setting it, which would change it, if only for a moment, for the
// whole process; that is left for a kernel without the report.
mode_t creationMask()
{
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return mode_t(mask);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a chain of symbolic links ends, whether or not that exists.
std::string followLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat link { };
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            return path;
        std::array<char, PATH_MAX> target{};
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (length < 0)
            return path;
        const std::string next(target.data(), std::size_t(length));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    return path; // a loop of links: stat() says so
}

// The new file from its creation until it is renamed or removed. The
// interruptions remove it before they end the program, and a file-size
// limit makes write() fail instead of ending the program.
class PendingFile {
public:
    explicit PendingFile(const std::string& pathTemplate)
    {
        sigemptyset(&m_interruptions);
        for (const int s : interruptions)
            sigaddset(&m_interruptions, s);
        // No interruption between creating the file and noting its name.
        ::sigprocmask(SIG_BLOCK, &m_interruptions, &m_mask);
        struct sigaction handler { };
        handler.sa_handler = removePendingThenDie;
        handler.sa_flags = SA_RESETHAND;
        sigemptyset(&handler.sa_mask);
        for (std::size_t i = 0; i < interruptions.size(); ++i) {
            ::sigaction(interruptions[i], nullptr, &m_previous[i]);
            // A signal the caller ignores (nohup, a background job) stays ignored.
            if (m_previous[i].sa_handler == SIG_DFL)
                ::sigaction(interruptions[i], &handler, nullptr);
        }
        struct sigaction ignore { };
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &m_previousFileSize);
        if (pathTemplate.size() < sizeof pendingPath) {
            std::memcpy(pendingPath, pathTemplate.c_str(), pathTemplate.size() + 1);
            m_fd = ::mkostemp(pendingPath, O_CLOEXEC);
            m_error = errno;
            pendingExists = m_fd >= 0;
        } else {
            m_error = ENAMETOOLONG;
        }
        ::sigprocmask(SIG_SETMASK, &m_mask, nullptr);
    }

    ~PendingFile()
    {
        ::sigprocmask(SIG_BLOCK, &m_interruptions, nullptr);
        if (m_fd >= 0)
            ::close(m_fd);
        if (pendingExists)
            ::unlink(pendingPath);
        pendingExists = 0;
        for (std::size_t i = 0; i < interruptions.size(); ++i)
            ::sigaction(interruptions[i], &m_previous[i], nullptr);
        ::sigaction(SIGXFSZ, &m_previousFileSize, nullptr);
        ::sigprocmask(SIG_SETMASK, &m_mask, nullptr);
    }

    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int fd() const { return m_fd; }
    int creationError() const { return m_error; }

    bool writeAll(std::string_view bytes, mode_t mode)
    {
        if (::fchmod(m_fd, mode) != 0)
            return false;
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n < 0 && errno != EINTR)
                return false;
            if (n > 0)
                bytes.remove_prefix(std::size_t(n));
        }
        const bool synced = ::fsync(m_fd) == 0;
        const int error = errno;
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        if (!synced)
            errno = error;
        return synced && closed;
    }

    bool renameTo(const std::string& path)
    {
        ::sigprocmask(SIG_BLOCK, &m_interruptions, nullptr);
        const bool renamed = ::rename(pendingPath, path.c_str()) == 0;
        const int error = errno;
        if (renamed)
            pendingExists = 0;
        ::sigprocmask(SIG_SETMASK, &m_mask, nullptr);
        errno = error;
        return renamed;
    }

private:
    sigset_t m_interruptions{};
    sigset_t m_mask{};
    std::array<struct sigaction, interruptions.size()> m_previous{};
    struct sigaction m_previousFileSize { };
    int m_fd = -1;
    int m_error = 0;
};

} // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string& error)
{
    const auto fail = [&error](int code) {
        error = std::strerror(code);
        return false;
    };
    const std::string target = followLinks(path);
    struct stat existing { };
    mode_t mode = 0;
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return fail(EISDIR);
        if (!S_ISREG(existing.st_mode)) {
            error = "not a regular file";
            return false;
        }
        if (::access(target.c_str(), W_OK) != 0)
            return fail(errno);
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return fail(errno);
    } else {
        mode = 0666 & ~creationMask();
    }

    const std::string name = target.substr(target.rfind('/') + 1);
    PendingFile pending(folderOf(target) + "/." + name.substr(0, NAME_MAX - 8) + ".XXXXXX");
    if (pending.fd() < 0)
        return fail(pending.creationError());
    if (!pending.writeAll(bytes, mode) || !pending.renameTo(target))
        return fail(errno);
    return true;
}
