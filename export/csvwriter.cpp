#include "csvwriter.h"

#include "photorecord.h"
#include "phototables.h"
#include "temperatureformat.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
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

bool writeCsvFile(const QString &folder, const QString &photoPath, const QString &baseName)
{
    if (!QFileInfo(photoPath).isFile())
        return false;
    std::FILE *file = std::fopen((folder + "/" + baseName + ".csv").toLocal8Bit().constData(), "w");
    if (!file)
        return false;

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

    // One large buffer instead of a flush per line: the bytes are the same, the system calls
    // a few instead of one per row.
    std::vector<char> buffer(1 << 20);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    bool ok = true;
    auto writeLine = [&](std::string &line) {
        line += '\n';
        ok = std::fwrite(line.data(), 1, line.size(), file) == line.size() && ok;
        line.clear();
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
    const TemperatureMatrix &m = record.matrix;
    if (found && record.hasTemperature && !m.empty() && !m[0].empty()) {
        const std::size_t width = m[0].size();
        writeLine(line);
        line = ",,";
        for (std::size_t c = 0; c < width; ++c)
            line += std::to_string(c) + ',';
        writeLine(line);
        FormatCache cache;
        const std::string frameLabel = local8Bit(QCoreApplication::translate("ExportFileThread", "帧温度"));
        for (std::size_t r = 0; r < m.size(); ++r) {
            if (r == 0)
                line += frameLabel;
            line += ',' + std::to_string(r) + ',';
            for (std::size_t c = 0; c < width && c < m[r].size(); ++c) {
                cache.append(line, m[r][c]);
                line += ',';
            }
            writeLine(line);
        }
    }
    return std::fclose(file) == 0 && ok;
}
