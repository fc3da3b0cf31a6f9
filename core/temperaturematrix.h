#pragma once

#include <QPointF>

#include <cstddef>
#include <initializer_list>
#include <memory>

// Stands for "no temperature available" wherever a temperature is stored or returned; every
// display shows "NA" for it.
constexpr float NA_TEMPERATURE = 65536.0f;

// Large blocks of values are mapped from the system and given back whole when freed: through
// the heap, freed matrices stayed in the process (its mapping threshold grows with them) and a
// long paging session kept twice the memory budget. The few blocks freed last are kept, up to
// kMatrixPoolBlocks and kMatrixPoolBytes together, for the next matrix of the same byte size:
// a fresh mapping costs a page fault per 4 KiB at its first write, which was most of loading a
// photograph. The pool never grows past that bound, whatever the number of matrices.
constexpr int kMatrixPoolBlocks = 4;
constexpr std::size_t kMatrixPoolBytes = 16u << 20;

// What the pool keeps now (for tests and diagnostics).
struct MatrixPoolState
{
    int blocks = 0;
    std::size_t bytes = 0;
};
MatrixPoolState matrixPoolState();
// Gives every kept block back to the system.
void releaseMatrixPool();

struct MatrixValuesDeleter
{
    std::size_t mappedBytes = 0; // 0: allocated with new[]
    void operator()(float *values) const;
};

// A photograph's temperatures in °C: one contiguous row-major block of width × height values,
// row 0 first. A new matrix's values are left unset: every builder writes each value once, so
// clearing them first would only touch the pages twice.
class TemperatureMatrix
{
public:
    TemperatureMatrix() = default;
    TemperatureMatrix(int width, int height);
    TemperatureMatrix(int width, int height, float value);
    // Rows of equal length, row 0 first (for literal matrices).
    TemperatureMatrix(std::initializer_list<std::initializer_list<float>> rows);
    TemperatureMatrix(const TemperatureMatrix &other);
    TemperatureMatrix &operator=(const TemperatureMatrix &other);
    TemperatureMatrix(TemperatureMatrix &&other) noexcept;
    TemperatureMatrix &operator=(TemperatureMatrix &&other) noexcept;

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool empty() const { return m_width == 0 || m_height == 0; }
    // Rows are views into the block: width() values each.
    const float *row(int y) const { return m_values.get() + std::size_t(y) * std::size_t(m_width); }
    float *row(int y) { return m_values.get() + std::size_t(y) * std::size_t(m_width); }
    const float *operator[](std::size_t y) const { return row(int(y)); }
    float *operator[](std::size_t y) { return row(int(y)); }
    float at(int x, int y) const { return row(y)[x]; }
    float &at(int x, int y) { return row(y)[x]; }
    const float *begin() const { return m_values.get(); }
    const float *end() const { return m_values.get() + valueCount(); }
    std::size_t valueCount() const { return std::size_t(m_width) * std::size_t(m_height); }

    bool operator==(const TemperatureMatrix &other) const;
    bool operator!=(const TemperatureMatrix &other) const { return !(*this == other); }

private:
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<float[], MatrixValuesDeleter> m_values;
};

// A matrix that never changes once built, shared by every reader: a reader keeps its copy of the
// pointer, so a reload replacing a table's entry cannot pull the values from under it.
using SharedMatrix = std::shared_ptr<const TemperatureMatrix>;

inline SharedMatrix sharedMatrix(TemperatureMatrix matrix)
{
    return std::make_shared<const TemperatureMatrix>(std::move(matrix));
}

// The matrix turned by one quarter the way the picture turns (to the left): row r of the result
// is column W - 1 - r of the source.
TemperatureMatrix quarterTurned(const TemperatureMatrix &matrix);

// Maximum, minimum and average with the positions of maximum and minimum (column, row for
// whole-frame statistics). Ties keep the first pixel met.
struct TempStats
{
    float max = NA_TEMPERATURE;
    float min = NA_TEMPERATURE;
    float avg = NA_TEMPERATURE;
    QPointF maxPos;
    QPointF minPos;
};
