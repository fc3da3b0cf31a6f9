#include "temperaturematrix.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {
std::unique_ptr<float[]> uninitialisedValues(int width, int height)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative matrix size");
    const std::size_t count = std::size_t(width) * std::size_t(height);
    return count ? std::unique_ptr<float[]>(new float[count]) : nullptr;
}
} // namespace

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
