#pragma once

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

// A C runtime file opened for reading in byte mode, closed on every path out.
struct CFileCloser
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

// Only regular files: a FIFO or a device named like a photograph would block the reader
// forever or never end, so it is refused without waiting for a writer.
inline CFile openForReading(const char *path)
{
    if (!path)
        return CFile();
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return CFile();
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return CFile();
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE *file = ::fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return CFile(file);
}

// The file's size; the read position is back at the start afterwards.
inline long fileSize(std::FILE *file)
{
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::rewind(file);
    return size;
}
