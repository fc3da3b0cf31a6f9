#include "temperaturematrix.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <stdexcept>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr std::size_t kMappedFrom = 256 * 1024; // bytes

// Mapped blocks freed last, oldest first. A block is in it only between its matrix's deleter
// and the next take of its size, so none is ever handed out twice. Never destroyed: matrices
// held by statics may be freed after it would have been.
class BlockPool
{
public:
    void *take(std::size_t bytes)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        // The newest block of that size: its pages are the likeliest still in the caches.
        for (int i = m_count - 1; i >= 0; --i) {
            if (m_blocks[i].bytes == bytes) {
                void *const address = m_blocks[i].address;
                std::copy(m_blocks + i + 1, m_blocks + m_count, m_blocks + i);
                --m_count;
                m_bytes -= bytes;
                return address;
            }
        }
        return nullptr;
    }

    void give(void *address, std::size_t bytes)
    {
        Block dropped[kMatrixPoolBlocks + 1];
        int droppedCount = 0;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (bytes > kMatrixPoolBytes) {
                dropped[droppedCount++] = {address, bytes};
            } else {
                // The oldest make room; at most kMatrixPoolBlocks of them.
                int oldest = 0;
                while (m_count - oldest == kMatrixPoolBlocks || m_bytes + bytes > kMatrixPoolBytes) {
                    dropped[droppedCount++] = m_blocks[oldest];
                    m_bytes -= m_blocks[oldest].bytes;
                    ++oldest;
                }
                std::copy(m_blocks + oldest, m_blocks + m_count, m_blocks);
                m_count -= oldest;
                m_blocks[m_count++] = {address, bytes};
                m_bytes += bytes;
            }
        }
        // Unmapped outside the lock: the system call is the slow part.
        for (int i = 0; i < droppedCount; ++i)
            ::munmap(dropped[i].address, dropped[i].bytes);
    }

    MatrixPoolState state()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return {m_count, m_bytes};
    }

    void clear()
    {
        Block dropped[kMatrixPoolBlocks];
        int droppedCount = 0;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            droppedCount = std::exchange(m_count, 0);
            std::copy(m_blocks, m_blocks + droppedCount, dropped);
            m_bytes = 0;
        }
        for (int i = 0; i < droppedCount; ++i)
            ::munmap(dropped[i].address, dropped[i].bytes);
    }

private:
    struct Block
    {
        void *address = nullptr;
        std::size_t bytes = 0;
    };
    std::mutex m_mutex;
    Block m_blocks[kMatrixPoolBlocks];
    int m_count = 0;
    std::size_t m_bytes = 0;
};

BlockPool &blockPool()
{
    static BlockPool &pool = *new BlockPool;
    return pool;
}

void *mappedBlock(std::size_t bytes)
{
    if (void *kept = blockPool().take(bytes))
        return kept;
    void *mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        // Blocks of other sizes may be what stands in the way.
        blockPool().clear();
        mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    }
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    return mapped;
}

std::unique_ptr<float[], MatrixValuesDeleter> uninitialisedValues(int width, int height)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative matrix size");
    const std::size_t count = std::size_t(width) * std::size_t(height);
    const std::size_t bytes = count * sizeof(float);
    if (bytes < kMappedFrom)
        return {count ? new float[count] : nullptr, {}};
    return {static_cast<float *>(mappedBlock(bytes)), {bytes}};
}

} // namespace

MatrixPoolState matrixPoolState()
{
    return blockPool().state();
}

void releaseMatrixPool()
{
    blockPool().clear();
}

void MatrixValuesDeleter::operator()(float *values) const
{
    if (mappedBytes)
        blockPool().give(values, mappedBytes);
    else
        delete[] values;
}

TemperatureMatrix::TemperatureMatrix(int width, int height)
    : m_width(width), m_height(height), m_values(uninitialisedValues(width, height))
{
}

TemperatureMatrix::TemperatureMatrix(int width, int height, float value) : TemperatureMatrix(width, height)
{
    std::fill(m_values.get(), m_values.get() + valueCount(), value);
}

TemperatureMatrix::TemperatureMatrix(std::initializer_list<std::initializer_list<float>> rows)
    : TemperatureMatrix(rows.size() ? int(rows.begin()->size()) : 0, int(rows.size()))
{
    float *out = m_values.get();
    for (const auto &row : rows) {
        if (int(row.size()) != m_width)
            throw std::invalid_argument("rows of different lengths");
        out = std::copy(row.begin(), row.end(), out);
    }
}

TemperatureMatrix::TemperatureMatrix(const TemperatureMatrix &other) : TemperatureMatrix(other.m_width, other.m_height)
{
    std::copy(other.begin(), other.end(), m_values.get());
}

TemperatureMatrix &TemperatureMatrix::operator=(const TemperatureMatrix &other)
{
    if (this != &other)
        *this = TemperatureMatrix(other);
    return *this;
}

TemperatureMatrix::TemperatureMatrix(TemperatureMatrix &&other) noexcept
    : m_width(std::exchange(other.m_width, 0)), m_height(std::exchange(other.m_height, 0)),
      m_values(std::move(other.m_values))
{
}

TemperatureMatrix &TemperatureMatrix::operator=(TemperatureMatrix &&other) noexcept
{
    m_width = std::exchange(other.m_width, 0);
    m_height = std::exchange(other.m_height, 0);
    m_values = std::move(other.m_values);
    return *this;
}

bool TemperatureMatrix::operator==(const TemperatureMatrix &other) const
{
    return m_width == other.m_width && m_height == other.m_height && std::equal(begin(), end(), other.begin());
}

TemperatureMatrix quarterTurned(const TemperatureMatrix &matrix)
{
    const int height = matrix.height(), width = matrix.width();
    TemperatureMatrix turned(height, width);
    for (int y = 0; y < height; ++y) {
        const float *row = matrix.row(y);
        for (int x = 0; x < width; ++x)
            turned.at(y, width - 1 - x) = row[x];
    }
    return turned;
}
