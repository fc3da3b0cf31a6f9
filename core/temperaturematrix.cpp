#include "temperaturematrix.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr std::size_t kMappedFrom = 256 * 1024; // bytes

std::unique_ptr<float[], MatrixValuesDeleter> uninitialisedValues(int width, int height)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative matrix size");
    const std::size_t count = std::size_t(width) * std::size_t(height);
    const std::size_t bytes = count * sizeof(float);
    if (bytes < kMappedFrom)
        return {count ? new float[count] : nullptr, {}};
    void *mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    return {static_cast<float *>(mapped), {bytes}};
}

} // namespace

void MatrixValuesDeleter::operator()(float *values) const
{
    if (mappedBytes)
        ::munmap(values, mappedBytes);
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
