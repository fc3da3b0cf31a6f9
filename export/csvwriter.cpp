#include "csvwriter.h"

#include "photorecord.h"
#include "phototables.h"
#include "temperatureformat.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string local8Bit(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

// Temperatures repeat across a frame: each distinct value is formatted once per file.
class FormatCache
{
public:
    void append(std::string &line, float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        Slot &slot = m_slots[(bits ^ (bits >> 13)) % m_slots.size()];
        if (!slot.used || slot.bits != bits) {
            slot.used = true;
            slot.bits = bits;
            slot.length = std::uint8_t(formatTemperature(value, slot.text) - slot.text);
        }
        line.append(slot.text, slot.length);
    }

private:
    struct Slot
    {
        bool used = false;
        std::uint32_t bits = 0;
        std::uint8_t length = 0;
        char text[32];
    };
    std::vector<Slot> m_slots = std::vector<Slot>(8192);
};

} // namespace

bool writeCsvFile(const QString &folder, const QString &photoPath, const QString &baseName, QString *error)
{
    const QString fileName = baseName + ".csv";
    if (!QFileInfo(photoPath).isFile()) {
        if (error)
            *error = QCoreApplication::translate("ExportFileThread", "无法读取照片：%1").arg(photoPath);
        return false;
    }
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
    PhotoRecord record; // a copy: the load job may write the table meanwhile
    const bool found = findPhotoRecord(photoPath, record);
    QStringList values;
    if (found)
        values = QStringList{record.texts[TextTransmittance], record.texts[TextEmissivity], record.texts[TextDistance],
                  record.texts[TextAirTemp], record.texts[TextReflectedTemp]};

    // Lines gather in one large block instead of a write per line: the bytes are the same,
    // the system calls a few instead of one per row.
    constexpr std::size_t kBlock = 1 << 20;
    std::string block;
    block.reserve(kBlock + 4096);
    bool ok = true;
    auto flushBlock = [&] {
        // A short write sets no error; the next attempt on the rest fails with the reason.
        for (qint64 at = 0, size = qint64(block.size()), n = 0; ok && at < size; at += n)
            ok = (n = file.write(block.data() + at, size - at)) > 0;
        block.clear();
    };
    auto writeLine = [&](std::string &line) {
        line += '\n';
        block += line;
        line.clear();
        if (block.size() >= kBlock)
            flushBlock();
    };
    std::string line;
    for (int i = 0; i < labels.size(); ++i) {
        if (i == 0)
            line += local8Bit(QCoreApplication::translate("ExportFileThread", "参数"));
        line += ',' + local8Bit(labels[i]) + ',';
        if (i < values.size())
            line += local8Bit(values[i]);
        writeLine(line);
    }
    const TemperatureMatrix &m = *record.matrix;
    if (found && record.hasTemperature && !m.empty()) {
        const int width = m.width();
        writeLine(line);
        line = ",,";
        for (int c = 0; c < width; ++c)
            line += std::to_string(c) + ',';
        writeLine(line);
        FormatCache cache;
        const std::string frameLabel = local8Bit(QCoreApplication::translate("ExportFileThread", "帧温度"));
        for (int r = 0; r < m.height() && ok; ++r) {
            if (r == 0)
                line += frameLabel;
            line += ',' + std::to_string(r) + ',';
            const float *row = m.row(r);
            for (int c = 0; c < width; ++c) {
                cache.append(line, row[c]);
                line += ',';
            }
            writeLine(line);
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
