#include "csvwriter.h"

#include "photorecord.h"
#include "temperatureformat.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string local8Bit(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

// Lines gather in one large block instead of a write per line: the bytes are the same, the
// system calls a few instead of one per row.
constexpr std::size_t kBlock = 1 << 20;
// At most this many characters per value, its comma included.
constexpr std::size_t kValueRoom = 33;

// The scratch of one writing thread, kept for its next table: the block and the values
// formatted so far. Temperatures repeat across frames, and a value is written the same in
// every table, so each distinct one is formatted once per thread.
class CsvScratch
{
public:
    std::vector<char> block = std::vector<char>(kBlock + 4096);

    // Writes the row's values, each followed by a comma, at out (room for kValueRoom bytes a
    // value); returns one past them.
    char *appendRow(char *out, const float *row, int width, bool emptyWithoutReading)
    {
        for (int c = 0; c < width; ++c) {
            if (emptyWithoutReading && row[c] == NA_TEMPERATURE) {
                *out++ = ',';
                continue;
            }
            std::uint32_t bits;
            std::memcpy(&bits, &row[c], sizeof bits);
            Slot &slot = m_slots[(bits ^ (bits >> 13)) & (kSlots - 1)];
            if (slot.length == 0 || slot.bits != bits) {
                slot.bits = bits;
                slot.length = std::uint8_t(formatTemperature(row[c], slot.text) - slot.text);
            }
            std::memcpy(out, slot.text, sizeof slot.text);
            out[slot.length] = ',';
            out += slot.length + 1;
        }
        return out;
    }

private:
    static constexpr std::size_t kSlots = 8192;
    struct Slot
    {
        std::uint32_t bits = 0;
        std::uint8_t length = 0; // 0: empty
        char text[32];
    };
    std::vector<Slot> m_slots = std::vector<Slot>(kSlots);
};

CsvScratch &csvScratch()
{
    thread_local CsvScratch scratch;
    return scratch;
}

} // namespace

bool writeCsvFile(const QString &folder, const QString &baseName, const PhotoRecord *record, QString *error,
                  CsvStyle style)
{
    const bool spreadsheet = style == CsvStyle::Spreadsheet;
    const auto encoded = [spreadsheet](const QString &text) {
        return spreadsheet ? text.toUtf8().toStdString() : local8Bit(text);
    };
    const QString fileName = baseName + ".csv";
    // Written under a temporary name and renamed only when complete: a failed write (a full
    // disk) leaves no truncated table behind.
    QSaveFile file(folder + "/" + fileName);
    // Unbuffered: every write reaches the system and its failure is seen here; a failure
    // while commit() flushes Qt's buffer would go unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = QCoreApplication::translate("ExportFileThread", "无法创建 %1：%2").arg(fileName, file.errorString());
        return false;
    }

    const QStringList labels = {
        QCoreApplication::translate("ExportFileThread", "大气透过率"),
        QCoreApplication::translate("ExportFileThread", "发射率"),
        QCoreApplication::translate("ExportFileThread", "距离"),
        QCoreApplication::translate("ExportFileThread", "大气温度"),
        QCoreApplication::translate("ExportFileThread", "反射温度"),
    };
    QStringList values;
    if (record)
        values = QStringList{record->texts[TextTransmittance], record->texts[TextEmissivity], record->texts[TextDistance],
                             record->texts[TextAirTemp], record->texts[TextReflectedTemp]};

    std::vector<char> &block = csvScratch().block;
    std::size_t used = 0;
    bool ok = true;
    auto flushBlock = [&] {
        // A short write sets no error; the next attempt on the rest fails with the reason.
        for (qint64 at = 0, size = qint64(used), n = 0; ok && at < size; at += n)
            ok = (n = file.write(block.data() + at, size - at)) > 0;
        used = 0;
    };
    // Room for bytes more at the end of the block; returns where they go.
    auto room = [&](std::size_t bytes) {
        if (used + bytes > kBlock)
            flushBlock();
        if (bytes > block.size())
            block.resize(bytes); // a row wider than the block: rare, and kept for the next table
        return block.data() + used;
    };
    auto append = [&](const std::string &text) {
        std::memcpy(room(text.size()), text.data(), text.size());
        used += text.size();
    };
    if (spreadsheet)
        append("\xEF\xBB\xBF");
    for (int i = 0; i < labels.size(); ++i) {
        std::string line = i == 0 ? encoded(QCoreApplication::translate("ExportFileThread", "参数")) : std::string();
        line += ',' + encoded(labels[i]) + ',';
        if (i < values.size())
            line += encoded(values[i]);
        append(line + '\n');
    }
    if (record && record->hasTemperature && record->matrix && !record->matrix->empty()) {
        const TemperatureMatrix &m = *record->matrix;
        const int width = m.width();
        std::string line = "\n,,";
        for (int c = 0; c < width; ++c)
            line += std::to_string(c) + ',';
        append(line + '\n');
        const std::string frameLabel = encoded(QCoreApplication::translate("ExportFileThread", "帧温度"));
        CsvScratch &scratch = csvScratch();
        for (int r = 0; r < m.height() && ok; ++r) {
            append((r == 0 ? frameLabel : std::string()) + ',' + std::to_string(r) + ',');
            char *const start = room(std::size_t(width) * kValueRoom + 1);
            char *out = scratch.appendRow(start, m.row(r), width, spreadsheet);
            *out++ = '\n';
            used += std::size_t(out - start);
        }
    }
    flushBlock();
    // The system's reason is kept before cancelling, which would replace it.
    QString reason = ok ? QString() : file.errorString();
    if (!ok)
        file.cancelWriting();
    // commit() flushes what Qt still buffers; its failure is a write failure too.
    if (!file.commit() || !ok) {
        if (reason.isEmpty())
            reason = file.errorString();
        if (error)
            *error = QCoreApplication::translate("ExportFileThread", "无法写入 %1：%2").arg(fileName, reason);
        return false;
    }
    return true;
}
