// qct: the radiometric core on the command line, for scripts and batch work. Its output is
// a stable interface; the core's diagnostics go to standard error.
#include "demoscene.h"
#include "diagnostics.h"
#include "photoloader.h"
#include "phototables.h"
#include "temperatureformat.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

const char kUsage[] =
    "usage: qct info PHOTO...    one JSON object per photograph per line: path, photoType, result,\n"
    "                            hasTemperature, width, height, max, min, avg, maxPos, minPos, texts\n"
    "       qct matrix PHOTO     the temperature matrix, one line per row, values joined by ','\n"
    "       qct samples DIR      writes a folder of demo photographs\n"
    "       qct --help           this text\n"
    "The exit status is 0 when every photograph loaded and 1 when any did not (2 for bad usage).\n";

void print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

QString jsonString(const QString &text)
{
    QString out = "\"";
    for (const QChar c : text) {
        if (c == '"' || c == '\\')
            out += QString("\\") + c;
        else if (c.unicode() < 0x20)
            out += QString::asprintf("\\u%04x", c.unicode());
        else
            out += c;
    }
    return out + "\"";
}

// Nine significant digits read back as the same float.
QString jsonFloat(float value)
{
    return QString::number(double(value), 'g', 9);
}

QString jsonPoint(const QPointF &p)
{
    return QString("[%1,%2]").arg(QString::number(p.x(), 'g', 17), QString::number(p.y(), 'g', 17));
}

int info(const QStringList &paths)
{
    int status = 0;
    for (const QString &path : paths) {
        const PhotoType type = detectPhotoType(path.toLocal8Bit().constData());
        const int result = loadPhotoRecord(path);
        const PhotoRecord record = copyPhotoRecord(path);
        QStringList texts;
        for (const QString &text : record.texts)
            texts << jsonString(text);
        print(QString("{\"path\":%1,\"photoType\":%2,\"result\":%3,\"hasTemperature\":%4,\"width\":%5,\"height\":%6,"
                      "\"max\":%7,\"min\":%8,\"avg\":%9,")
                  .arg(jsonString(path))
                  .arg(int(type))
                  .arg(result)
                  .arg(record.hasTemperature ? "true" : "false")
                  .arg(record.width)
                  .arg(record.height)
                  .arg(jsonFloat(record.stats.max), jsonFloat(record.stats.min), jsonFloat(record.stats.avg))
              + QString("\"maxPos\":%1,\"minPos\":%2,\"texts\":[%3]}\n")
                    .arg(jsonPoint(record.stats.maxPos), jsonPoint(record.stats.minPos), texts.join(',')));
        if (result != 0)
            status = 1;
    }
    return status;
}

int matrix(const QString &path)
{
    const int result = loadPhotoRecord(path);
    const PhotoRecord record = copyPhotoRecord(path);
    for (const TemperatureRow &row : record.matrix) {
        QStringList values;
        for (float v : row)
            values << formatTemperature(v);
        print(values.join(',') + "\n");
    }
    return result == 0 ? 0 : 1;
}

int usage(std::FILE *stream, int status)
{
    std::fputs(kUsage, stream);
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setDiagnosticStream(stderr);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    if (command == "--help" || command == "-h")
        return usage(stdout, 0);
    if (command == "info" && args.size() >= 2)
        return info(args.mid(1));
    if (command == "matrix" && args.size() == 2)
        return matrix(args[1]);
    if (command == "samples" && args.size() == 2) {
        const QStringList written = writeDemoFolder(args[1]);
        for (const QString &path : written)
            print(path + "\n");
        return 0;
    }
    return usage(stderr, 2);
}
