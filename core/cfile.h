#pragma once

#include <cstdio>
#include <memory>

// A C runtime file opened for reading in byte mode, closed on every path out.
struct CFileCloser
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

inline CFile openForReading(const char *path)
{
    return CFile(path ? std::fopen(path, "rb") : nullptr);
}

// The file's size; the read position is back at the start afterwards.
inline long fileSize(std::FILE *file)
{
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::rewind(file);
    return size;
}
