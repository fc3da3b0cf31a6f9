// qct: the radiometric core on the command line, for scripts and batch work. Its output is
// a stable interface; the core's diagnostics go to standard error.
#include "csvwriter.h"
#include "demoscene.h"
#include "diagnostics.h"
#include "language.h"
#include "photoloader.h"
#include "regionstatistics.h"
#include "phototables.h"
#include "temperatureformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTranslator>
#include <QtConcurrent>
#include <QStringList>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <numeric>

namespace {

const char kUsage[] =
    "usage: qct info PHOTO...    one JSON object per photograph per line: path, photoType, result,\n"
    "                            hasTemperature, width, height, max, min, avg, maxPos, minPos, texts\n"
    "       qct matrix PHOTO     the temperature matrix, one line per row, values joined by ','\n"
    "       qct measure PHOTO SHAPE...\n"
    "                            one JSON object per shape per line: shape, max, min, avg, maxPos,\n"
    "                            minPos, count; shapes in pixels of the photograph, in any mix:\n"
    "                            --point X,Y  --line X1,Y1,X2,Y2  --rect LEFT,TOP,WIDTH,HEIGHT\n"
    "                            --circle CX,CY,R  --polygon X1,Y1,X2,Y2,...\n"
    "       qct csv [--lang zh|en|ja] OUTDIR PHOTO_OR_FOLDER...\n"
    "                            the CSV table of every photograph (folders searched for .jpg files)\n"
    "                            into OUTDIR, named as the export names them; labels in the given\n"
    "                            language, by default the system's; one line per photograph that\n"
    "                            could not be written\n"
    "       qct samples DIR      writes a folder of demo photographs\n"
    "       qct --help           this text\n"
    "Before any command, --verbose prints the readers' diagnostics on standard error.\n"
    "The exit status is 0 when every photograph loaded and 1 when any did not (2 for bad usage).\n";

void print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

// Every line of JSON is made by Qt's JSON classes, so no path, name or text read from a file is
// ever taken for a format: "a%2b.jpg" stays "a%2b.jpg".
void printJson(const QJsonObject &object)
{
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

// Nine significant digits read back as the same float.
QJsonValue jsonFloat(float value)
{
    if (!std::isfinite(value))
        return QJsonValue();
    return QString::number(double(value), 'g', 9).toDouble();
}

QJsonArray jsonPoint(const QPointF &p)
{
    return QJsonArray{p.x(), p.y()};
}

int info(const QStringList &paths)
{
    int status = 0;
    for (const QString &path : paths) {
        const PhotoType type = detectPhotoType(path.toLocal8Bit().constData());
        const int result = loadPhotoRecord(path);
        const PhotoRecord record = copyPhotoRecord(path);
        QJsonObject line;
        line.insert("path", path);
        line.insert("photoType", int(type));
        line.insert("result", result);
        line.insert("hasTemperature", record.hasTemperature);
        line.insert("width", record.width);
        line.insert("height", record.height);
        line.insert("max", jsonFloat(record.stats.max));
        line.insert("min", jsonFloat(record.stats.min));
        line.insert("avg", jsonFloat(record.stats.avg));
        line.insert("maxPos", jsonPoint(record.stats.maxPos));
        line.insert("minPos", jsonPoint(record.stats.minPos));
        line.insert("texts", QJsonArray::fromStringList(record.texts));
        printJson(line);
        if (result != 0)
            status = 1;
    }
    return status;
}

int matrix(const QString &path)
{
    const int result = loadPhotoRecord(path);
    const PhotoRecord record = copyPhotoRecord(path);
    const TemperatureMatrix &m = *record.matrix;
    for (int y = 0; y < m.height(); ++y) {
        QStringList values;
        for (int x = 0; x < m.width(); ++x)
            values << formatTemperature(m.at(x, y));
        print(values.join(',') + "\n");
    }
    return result == 0 ? 0 : 1;
}

// One shape of the measure command: its name and its numbers.
struct Shape
{
    QString name;
    QVector<double> numbers;
};

// The shapes of the command line, or false with a message for the user when they cannot be
// measured; an empty message means the usage is wrong.
bool parseShapes(const QStringList &args, QVector<Shape> &shapes, QString &error)
{
    static const QHash<QString, int> counts = {{"point", 2}, {"line", 4}, {"rect", 4}, {"circle", 3}, {"polygon", -1}};
    for (int i = 0; i < args.size(); i += 2) {
        const QString name = args[i].mid(2);
        if (!args[i].startsWith("--") || !counts.contains(name) || i + 1 >= args.size())
            return false;
        Shape shape{name, {}};
        for (const QString &text : args[i + 1].split(',')) {
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok)
                return false;
            // Infinities and NaN have no pixel: refused rather than measured as some edge.
            if (!std::isfinite(number)) {
                error = "qct measure: " + args[i] + " " + args[i + 1] + ": " + text + " is not a finite number";
                return false;
            }
            shape.numbers.append(number);
        }
        const int count = counts[name];
        if (count > 0 ? shape.numbers.size() != count : shape.numbers.size() < 2 || shape.numbers.size() % 2 != 0)
            return false;
        shapes.append(shape);
    }
    return !shapes.isEmpty();
}

// The picture is its own pixel grid here, so scene and pixel coordinates coincide.
RegionStats measureShape(const Shape &shape, const TemperatureGrid &grid)
{
    const QVector<double> &n = shape.numbers;
    const QRectF image(0, 0, grid.width(), grid.height());
    if (shape.name == "point")
        return pointStatistics(QPointF(n[0], n[1]), image, grid);
    if (shape.name == "line")
        return lineStatistics(QPointF(n[0], n[1]), QPointF(n[2], n[3]), image, grid.height(), grid);
    if (shape.name == "rect")
        return rectangleStatistics(QRectF(n[0], n[1], n[2], n[3]), image, grid.width(), grid.height(), grid);
    if (shape.name == "circle")
        return circleStatistics(QPointF(n[0], n[1]), n[2], image, grid.width(), grid.height(), grid);
    QVector<QPointF> vertices;
    for (int i = 0; i + 1 < n.size(); i += 2)
        vertices.append(QPointF(n[i], n[i + 1]));
    return polygonStatistics(vertices, image, grid);
}

int measure(const QString &path, const QVector<Shape> &shapes)
{
    const int result = loadPhotoRecord(path);
    loadedPhotoPaths() = QStringList{path};
    const TemperatureGrid grid = TemperatureGrid::of(path);
    const QRectF image(0, 0, grid.width(), grid.height());
    for (const Shape &shape : shapes) {
        const RegionStats r = measureShape(shape, grid);
        const QPoint maxPos = sceneToPixel(r.stats.maxPos, image, grid);
        const QPoint minPos = sceneToPixel(r.stats.minPos, image, grid);
        QJsonObject line;
        line.insert("shape", shape.name);
        line.insert("max", jsonFloat(r.stats.max));
        line.insert("min", jsonFloat(r.stats.min));
        line.insert("avg", jsonFloat(r.stats.avg));
        line.insert("maxPos", QJsonArray{maxPos.x(), maxPos.y()});
        line.insert("minPos", QJsonArray{minPos.x(), minPos.y()});
        line.insert("count", r.count);
        printJson(line);
    }
    return result == 0 ? 0 : 1;
}

// The photographs named on the command line: files as given, folders searched for ".jpg"
// files of any letter case, in name order.
QStringList collectPhotographs(const QStringList &arguments)
{
    QStringList photos;
    for (const QString &argument : arguments) {
        if (!QFileInfo(argument).isDir()) {
            photos << argument;
            continue;
        }
        QStringList found;
        QDirIterator it(argument, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (QFileInfo(path).suffix().toLower() == "jpg")
                found << path;
        }
        found.sort();
        photos << found;
    }
    return photos;
}

int csv(QStringList args)
{
    QString language;
    if (args.value(0) == "--lang") {
        language = args.value(1);
        args = args.mid(2);
    }
    if (args.size() < 2 || (!language.isEmpty() && language != "zh" && language != "en" && language != "ja"))
        return -1;
    int id = QLocale().language();
    if (language == "zh")
        id = LanguageId::Chinese;
    else if (language == "en")
        id = LanguageId::English;
    else if (language == "ja")
        id = LanguageId::Japanese;
    static QTranslator translator;
    translator.load(qmPathForLanguage(id));
    QCoreApplication::installTranslator(&translator);

    const QString out = args[0];
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out));
        return 1;
    }
    const QStringList photos = collectPhotographs(args.mid(1));
    // Names as the export gives them: the base name, then "-2", "-3", ... for repeats.
    QStringList names;
    for (const QString &photo : photos) {
        const QString base = QFileInfo(photo).baseName();
        QString name = base;
        for (int n = 2; names.contains(name); ++n)
            name = base + QString("-%1").arg(n);
        names << name;
    }
    // One worker per photograph, however often it is named: a record is loaded, written under
    // each of its names and dropped by the same worker, so no worker drops a record another
    // still writes. Every core at work.
    QStringList unique;
    QHash<QString, QVector<int>> namesOf;
    for (int i = 0; i < photos.size(); ++i) {
        if (!namesOf.contains(photos[i]))
            unique << photos[i];
        namesOf[photos[i]] << i;
    }
    const std::function<QString(const QString &)> exportOne = [&](const QString &photo) {
        const int loaded = loadPhotoRecord(photo);
        QStringList problems;
        for (int i : namesOf.value(photo)) {
            if (!writeCsvFile(out, photo, names[i]))
                problems << photo + ": could not be written";
        }
        forgetPhotoRecord(photo);
        if (!problems.isEmpty())
            return problems.join('\n');
        if (loaded == 0)
            return QString();
        return photo + ": no temperatures (load result " + QString::number(loaded) + ": " + loadResultText(loaded, QFile::encodeName(photo).constData()) + ")";
    };
    const QVector<QString> failures = QtConcurrent::blockingMapped<QVector<QString>>(unique, exportOne);
    int failed = 0;
    for (const QString &failure : failures) {
        if (!failure.isEmpty()) {
            print(failure + "\n");
            ++failed;
        }
    }
    return failed ? 1 : 0;
}

int usage(std::FILE *stream, int status)
{
    std::fputs(kUsage, stream);
    return status;
}

int run(const QStringList &args)
{
    const QString command = args.value(0);
    if (command == "--help" || command == "-h")
        return usage(stdout, 0);
    if (command == "info" && args.size() >= 2)
        return info(args.mid(1));
    if (command == "matrix" && args.size() == 2)
        return matrix(args[1]);
    if (command == "measure" && args.size() >= 2) {
        QVector<Shape> shapes;
        QString error;
        if (!parseShapes(args.mid(2), shapes, error)) {
            if (error.isEmpty())
                return usage(stderr, 2);
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
        return measure(args[1], shapes);
    }
    if (command == "csv") {
        const int status = csv(args.mid(1));
        return status < 0 ? usage(stderr, 2) : status;
    }
    if (command == "samples" && args.size() == 2) {
        const QStringList written = writeDemoFolder(args[1]);
        for (const QString &path : written)
            print(path + "\n");
        return 0;
    }
    return usage(stderr, 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == "--verbose") {
        setDiagnosticStream(stderr);
        args.removeFirst();
    }
    const int status = run(args);
    // A full disk or a closed pipe must not pass for success: what was printed is the result.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "qct: the output could not be written: %s\n", std::strerror(errno));
        return 1;
    }
    return status;
}
