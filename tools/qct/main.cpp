// qct: the radiometric core on the command line, for scripts and batch work. Its output is
// a stable interface; the core's diagnostics go to standard error, and only with --verbose.
// Every command streams: a photograph is loaded into a record of the command's own, never into
// the program's photograph store, and dropped once its output is written, so memory does not
// grow with the number of photographs.
#include "combinedreport.h"
#include "commandline.h"
#include "csvwriter.h"
#include "demoscene.h"
#include "diagnostics.h"
#include "exportjob.h"
#include "hotspotcsv.h"
#include "hotspotgeojson.h"
#include "hotspotjson.h"
#include "language.h"
#include "orderedrun.h"
#include "photohotspots.h"
#include "photolist.h"
#include "photorecord.h"
#include "regionstatistics.h"
#include "sidecar.h"
#include "temperatureformat.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Writes to standard output; false once any write has failed (a full disk, a closed pipe):
// stdio keeps the error, and main reports it.
bool writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    return !std::ferror(stdout);
}

// "qct: PATH: reason" on standard error, the path as its bytes.
void complain(const QByteArray &path, const QString &reason)
{
    const QByteArray line = "qct: " + path + ": " + reason.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
}

// The camera values the command line gives; set once before any photograph is loaded.
CameraCorrection g_camera;

// A photograph that stores its temperatures directly cannot take the command line's camera
// values: a warning names it.
void warnIfUncorrected(const QByteArray &native, int result, const PhotoRecord &record)
{
    if (result == LoadOk && !g_camera.isEmpty() && !record.calibrated)
        complain(native, "stores its temperatures directly: the camera values given are not applied, its stored "
                         "ones stay");
}

// A photograph loaded as the command asks: with its sidecar (unless --no-sidecar) and the
// command line's camera values over it.
int loadForCommand(const QByteArray &native, PhotoRecord &record, PhotoType *type = nullptr)
{
    const int result = loadNewPhoto(native, record, type, g_camera);
    warnIfUncorrected(native, result, record);
    return result;
}

// True for a load that gave temperatures; otherwise says why on standard error.
bool succeeded(const Photo &photo, int result)
{
    if (result == LoadOk)
        return true;
    complain(photo.native, QString::fromUtf8(loadResultText(result, photo.native.constData())));
    return false;
}

QJsonArray jsonPoint(const QPointF &p)
{
    return QJsonArray{p.x(), p.y()};
}

// Every line of JSON is made by Qt's JSON classes, so no path, name or text read from a file is
// ever taken for a format: "a%2b.jpg" stays "a%2b.jpg".
QByteArray jsonLine(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray infoLine(const Photo &photo, PhotoType type, int result, const PhotoRecord &record)
{
    QJsonObject line;
    line.insert("path", photo.shown);
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
    return jsonLine(line);
}

// Every core loads; the lines come out in the order given.
int info(const QVector<Photo> &photos)
{
    struct Line
    {
        int result;
        QByteArray json;
    };
    int failed = 0;
    const auto load = [&photos](int index) {
        // One record per worker for all its photographs: its matrix's block is filled again
        // rather than a new one made per photograph.
        thread_local PhotoRecord record;
        PhotoType type = UnsupportedPhoto;
        const int result = loadForCommand(photos[index].native, record, &type);
        return Line{result, infoLine(photos[index], type, result, record)};
    };
    const auto print = [&](int index, Line &line) {
        if (!succeeded(photos[index], line.result))
            ++failed;
        return writeOut(line.json); // nothing more is loaded for an output that is gone
    };
    runInOrder<Line>(photos.size(), load, print);
    return failed ? 1 : 0;
}

int matrix(const Photo &photo)
{
    PhotoRecord record;
    const int result = loadForCommand(photo.native, record);
    const TemperatureMatrix &m = *record.matrix;
    QByteArray row;
    char text[32];
    for (int y = 0; y < m.height() && !std::ferror(stdout); ++y) {
        row.clear();
        for (int x = 0; x < m.width(); ++x) {
            if (x)
                row += ',';
            row.append(text, int(formatTemperature(m.at(x, y), text) - text));
        }
        writeOut(row + '\n');
    }
    return succeeded(photo, result) ? 0 : 1;
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

int measure(const Photo &photo, const QVector<Shape> &shapes)
{
    PhotoRecord record;
    const int result = loadForCommand(photo.native, record);
    const TemperatureGrid grid = record.hasTemperature ? TemperatureGrid(record.matrix) : TemperatureGrid();
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
        writeOut(jsonLine(line));
    }
    return succeeded(photo, result) ? 0 : 1;
}

void installTranslator(const QString &language)
{
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
}

// The export's job, every photograph loaded into a record of the worker's own: the same file
// named twice is two loads and two tables, never one record written by two workers.
int csv(const CommandLine &line)
{
    installTranslator(line.language);
    const QString out = QFile::decodeName(line.operands[0]);
    if (!QDir().mkpath(out)) {
        complain(line.operands[0], "cannot create the folder");
        return 1;
    }
    QStringList problems;
    const QVector<Photo> photos = collectPhotographs(line.operands.mid(1), problems);
    for (const QString &problem : problems)
        writeOut(problem.toUtf8() + '\n');
    // Names as the export gives them: the base name, then "-2", "-3", ... for repeats.
    QVector<ExportJob::Item> items;
    QSet<QString> taken;
    for (const Photo &photo : photos) {
        const QString base = QFileInfo(photo.shown).baseName();
        QString name = base;
        for (int n = 2; taken.contains(name); ++n)
            name = base + QString("-%1").arg(n);
        taken.insert(name);
        items.append({photo.shown, name});
    }
    const CsvStyle style = line.excel ? CsvStyle::Spreadsheet : CsvStyle::Plain;
    ExportJob job(items, [&photos, style](const QString &folder, int index, const ExportJob::Item &item,
                                          ExportFailure &failure) {
        const QByteArray &native = photos[index].native;
        thread_local PhotoRecord record; // one per worker, as for info
        const int result = loadForCommand(native, record);
        // A file that cannot be opened gets no table; one that is no photograph gets the
        // parameter lines, as the export writes them.
        if (result == LoadCannotOpen) {
            failure.kind = ExportFailure::PhotoUnreadable;
            failure.reason = QString::fromUtf8(loadResultText(result, native.constData()));
            return false;
        }
        if (!writeCsvFile(folder, item.name, &record, &failure.reason, style)) {
            failure.kind = ExportFailure::WriteFailed;
            return false;
        }
        if (result == LoadOk)
            return true;
        failure.kind = ExportFailure::NoTemperatures;
        failure.reason = QString("no temperatures (load result %1: %2)")
                             .arg(QString::number(result), QString::fromUtf8(loadResultText(result, native.constData())));
        return false;
    });
    job.run(out, [&](int index, const ExportFailure *failure) {
        if (failure)
            writeOut(photos[index].native + ": " + failure->reason.toUtf8() + '\n');
    });
    return problems.isEmpty() && job.failures().isEmpty() ? 0 : 1;
}

// The combined report of every photograph given (folders searched), as the export writes it.
int report(const CommandLine &line)
{
    installTranslator(line.language);
    QStringList problems;
    const QVector<Photo> photos = collectPhotographs(line.operands.mid(1), problems);
    for (const QString &problem : problems)
        std::fprintf(stderr, "qct report: %s\n", problem.toUtf8().constData());
    CombinedReport combined;
    for (const Photo &photo : photos)
        combined.photos << photo.shown;
    combined.site = line.site;
    combined.format = line.word ? ReportFormat::Word : ReportFormat::Pdf;
    combined.hotSpots = line.hotSpots;
    if (combined.site.isEmpty() && !photos.isEmpty())
        combined.site = QFileInfo(photos.first().shown).absoluteDir().dirName();
    QString error;
    if (!writeCombinedReport(combined, QFile::decodeName(line.operands[0]), &error)) {
        complain(line.operands[0], error);
        return 1;
    }
    return problems.isEmpty() ? 0 : 1;
}

// The anomalies of every photograph given (folders searched), loaded on every core; the lines,
// CSV rows and GeoJSON features come out in the order given.
int hotspots(const CommandLine &line)
{
    QStringList problems;
    const QVector<Photo> photos = collectPhotographs(line.operands, problems);
    for (const QString &problem : problems)
        std::fprintf(stderr, "qct hotspots: %s\n", problem.toUtf8().constData());
    std::unique_ptr<HotSpotCsvFile> csv;
    std::unique_ptr<HotSpotGeoJsonFile> geoJson;
    QString error;
    if (!line.csvFile.isEmpty()) {
        csv = std::make_unique<HotSpotCsvFile>(QFile::decodeName(line.csvFile));
        if (!csv->open(&error)) {
            complain(line.csvFile, error);
            return 1;
        }
    }
    if (!line.geoJsonFile.isEmpty()) {
        geoJson = std::make_unique<HotSpotGeoJsonFile>(QFile::decodeName(line.geoJsonFile));
        if (!geoJson->open(&error)) {
            complain(line.geoJsonFile, error);
            return 1;
        }
    }
    // The workers make the lines, rows and features too: the thread that writes them in order
    // would otherwise format every anomaly of the flight alone.
    struct Scan
    {
        int result;
        bool positioned;
        int anomalies;
        QByteArray lines, rows;
        QByteArrayList features;
    };
    int failed = 0;
    const auto scan = [&](int index) {
        thread_local PhotoRecord record; // one per worker, as for info
        const Photo &photo = photos[index];
        // Its lines name no whole-frame figure: the pass that finds them is skipped.
        const PhotoHotSpots scanned =
            scanPhotoHotSpots(photo.native, line.hotSpots, record, g_camera, FrameStatistics::Skipped);
        warnIfUncorrected(photo.native, scanned.result, record);
        Scan made{scanned.result, bool(scanned.position), scanned.found.spots.size(), {}, {}, {}};
        const QByteArray quotedPath = scanned.found.spots.isEmpty() ? QByteArray() : jsonQuoted(photo.shown);
        for (const HotSpot &spot : scanned.found.spots) {
            made.lines += hotSpotJsonLine(quotedPath, spot);
            if (csv)
                made.rows += HotSpotCsvFile::row(photo.shown, spot);
            if (geoJson && scanned.position)
                made.features << HotSpotGeoJsonFile::feature(photo.shown, *scanned.position, spot);
        }
        return made;
    };
    const auto print = [&](int index, Scan &made) {
        const Photo &photo = photos[index];
        if (!succeeded(photo, made.result))
            ++failed;
        if (csv)
            csv->write(made.rows);
        for (const QByteArray &feature : made.features)
            geoJson->add(feature);
        if (geoJson && !made.positioned && made.anomalies > 0)
            complain(photo.native, "no GPS position: its anomalies are left out of the GeoJSON file");
        return writeOut(made.lines);
    };
    runInOrder<Scan>(photos.size(), scan, print);
    if (csv && !csv->commit(&error)) {
        complain(line.csvFile, error);
        ++failed;
    }
    if (geoJson && !geoJson->commit(&error)) {
        complain(line.geoJsonFile, error);
        ++failed;
    }
    return failed || !problems.isEmpty() ? 1 : 0;
}

// Prints the path of each photograph written; says which could not be.
int samples(const QByteArray &dir)
{
    QStringList failures;
    const QStringList written = writeDemoFolder(QFile::decodeName(dir), &failures);
    for (const QString &path : written)
        writeOut(path.toUtf8() + '\n');
    for (const QString &failure : failures)
        std::fprintf(stderr, "qct samples: %s\n", failure.toUtf8().constData());
    return failures.isEmpty() ? 0 : 1;
}

int run(const CommandLine &line)
{
    if (line.command == "help")
        return usage(stdout, 0);
    if (line.command == "csv")
        return csv(line);
    if (line.command == "report")
        return report(line);
    if (line.command == "hotspots")
        return hotspots(line);
    if (line.command == "samples")
        return samples(line.operands[0]);
    const Photo photo = photoNamed(line.operands[0]);
    if (line.command == "matrix")
        return matrix(photo);
    if (line.command == "measure")
        return measure(photo, line.shapes);
    QVector<Photo> photos;
    for (const QByteArray &operand : line.operands)
        photos << photoNamed(operand);
    return info(photos);
}

} // namespace

int main(int argc, char **argv)
{
    // The report draws its pictures as the analysis page does, with widgets off screen.
    const bool drawing = argc > 1 && (std::strcmp(argv[1], "report") == 0
                                      || (argc > 2 && std::strcmp(argv[1], "--verbose") == 0
                                          && std::strcmp(argv[2], "report") == 0));
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(drawing ? new QApplication(argc, argv) : new QCoreApplication(argc, argv));
    // The arguments' own bytes: a file name the locale cannot spell still names its file.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    CommandLine line;
    QString error;
    if (!parseCommandLine(arguments, line, error)) {
        if (error.isEmpty())
            return usage(stderr, 2);
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 2;
    }
    g_camera = line.camera;
    setSidecarsRead(!line.noSidecar);
    // Qt's own warnings (a decoder's "Not a JPEG file") are diagnostics too.
    if (line.verbose)
        setDiagnosticStream(stderr);
    else
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const int status = run(line);
    // A full disk or a closed pipe must not pass for success: what was printed is the result.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "qct: the output could not be written: %s\n", std::strerror(errno));
        return 1;
    }
    return status;
}
