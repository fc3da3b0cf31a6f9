#include "commandline.h"

#include <QHash>
#include <QStringList>

#include <cmath>

namespace {

const char kUsage[] =
    "usage: qct info PHOTO...    one JSON object per photograph per line, in the order given: path,\n"
    "                            photoType, result, hasTemperature, width, height, max, min, avg,\n"
    "                            maxPos, minPos, texts\n"
    "       qct matrix PHOTO     the temperature matrix, one line per row, values joined by ','\n"
    "       qct measure PHOTO SHAPE...\n"
    "                            one JSON object per shape per line: shape, max, min, avg, maxPos,\n"
    "                            minPos, count; shapes in pixels of the photograph, in any mix:\n"
    "                            --point X,Y  --line X1,Y1,X2,Y2  --rect LEFT,TOP,WIDTH,HEIGHT\n"
    "                            --circle CX,CY,R  --polygon X1,Y1,X2,Y2,...\n"
    "       qct csv [--lang zh|en|ja] [--excel] OUTDIR PHOTO_OR_FOLDER...\n"
    "                            the CSV table of every photograph (folders searched for .jpg files)\n"
    "                            into OUTDIR, named as the export names them; labels in the given\n"
    "                            language, by default the system's; one line per photograph that\n"
    "                            failed, saying why; --excel writes them for a spreadsheet: a UTF-8\n"
    "                            byte-order mark, UTF-8 labels, empty cells for pixels without a reading\n"
    "       qct report [--lang zh|en|ja] [--format pdf|docx] [--site NAME] [--threshold K]\n"
    "                  [--min-area N] [--irradiance G] [--classes A,B] OUT PHOTO_OR_FOLDER...\n"
    "                            one inspection report of all the photographs, as PDF (the default)\n"
    "                            or as a Word document: a cover, the anomalies ranked (found as qct\n"
    "                            hotspots finds them, with the same options), a summary hottest\n"
    "                            first, a section per photograph\n"
    "       qct hotspots [--threshold K] [--min-area N] [--irradiance G] [--classes A,B]\n"
    "                    [--geojson FILE] [--csv FILE] PHOTO_OR_FOLDER...\n"
    "                            one JSON object per anomaly per line, highest deltaT of a photograph\n"
    "                            first, photographs in the order given: path, maxPos, max, reference,\n"
    "                            deltaT, deltaTNormalised, area, bbox, centroid, class. An anomaly is an\n"
    "                            8-connected region of at least N pixels (default 4) at or above the\n"
    "                            median of the photograph + K kelvin (default 5); deltaTNormalised is\n"
    "                            deltaT x 1000 / G (W/m2), null without --irradiance; class 1 below A\n"
    "                            kelvin (default 10), 2 below B (default 20), 3 from B on. --csv and\n"
    "                            --geojson also write them as CSV and as a GeoJSON FeatureCollection of\n"
    "                            points at the photographs' GPS positions (those without one are left\n"
    "                            out, and named on standard error)\n"
    "       qct samples DIR      writes a folder of demo photographs and prints their paths\n"
    "info, matrix, measure, csv and hotspots also take --emissivity PERCENT (1..100), --distance\n"
    "METRES (0.5..500), --humidity PERCENT (0..100) and --reflected CELSIUS (-40..550): the camera\n"
    "values a calibrated photograph is converted with (other photographs keep their stored\n"
    "temperatures, and a warning names them); and they read the settings saved beside each photograph\n"
    "(NAME.jpg.qct.json) unless --no-sidecar is given. The values given go over the saved ones.\n"
    "       qct --help           this text\n"
    "Before the command, --verbose prints the readers' diagnostics on standard error. After it, \"--\"\n"
    "ends the options: every argument after it is a photograph or folder.\n"
    "info, matrix, measure and hotspots say on standard error why a photograph gave no temperatures.\n"
    "The exit status is 0 when every photograph loaded and every file and line was written, 1\n"
    "otherwise, and 2 for bad usage.\n";

// The numbers of a shape option: a fixed count, or -1 for a polygon's pairs.
const QHash<QString, int> &shapeCounts()
{
    static const QHash<QString, int> counts = {{"point", 2}, {"line", 4}, {"rect", 4}, {"circle", 3}, {"polygon", -1}};
    return counts;
}

bool parseShape(const QString &name, const QString &value, Shape &shape, QString &error)
{
    shape = Shape{name, {}};
    for (const QString &text : value.split(',')) {
        bool ok = false;
        const double number = text.toDouble(&ok);
        if (!ok)
            return false;
        // Infinities and NaN have no pixel: refused rather than measured as some edge.
        if (!std::isfinite(number)) {
            error = "qct measure: --" + name + " " + value + ": " + text + " is not a finite number";
            return false;
        }
        shape.numbers.append(number);
    }
    const int count = shapeCounts().value(name);
    const int n = shape.numbers.size();
    return count > 0 ? n == count : n >= 2 && n % 2 == 0;
}

// The camera options: their field and the range the engine accepts, in the user's unit.
struct CameraOption
{
    CameraField field;
    const char *range;
};
const QHash<QString, CameraOption> &cameraOptions()
{
    static const QHash<QString, CameraOption> options = {{"emissivity", {CameraField::Emissivity, "1..100 %"}},
                                                         {"distance", {CameraField::Distance, "0.5..500 m"}},
                                                         {"humidity", {CameraField::Humidity, "0..100 %"}},
                                                         {"reflected", {CameraField::Reflected, "-40..550 °C"}}};
    return options;
}

bool parseCamera(const QString &name, const QString &value, CameraCorrection &camera, QString &error)
{
    const CameraOption option = cameraOptions().value(name);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !cameraRangeError(option.field, number).isEmpty()) {
        error = "qct: --" + name + " " + value + ": not a number in " + QString::fromUtf8(option.range);
        return false;
    }
    std::optional<double> *fields[] = {&camera.emissivity, &camera.distance, &camera.humidity, &camera.reflected};
    *fields[int(option.field)] = number;
    return true;
}

bool convertsPhotographs(const QString &command)
{
    return command == "info" || command == "matrix" || command == "measure" || command == "csv" || command == "report"
        || command == "hotspots";
}

// A number of an option of hotspots, finite and above zero.
bool positiveNumber(const QString &text, double &number)
{
    bool ok = false;
    number = text.toDouble(&ok);
    return ok && std::isfinite(number) && number > 0;
}

// --threshold, --min-area, --irradiance and --classes; false with a message when the value
// does not fit.
bool parseHotSpotOption(const QString &name, const QString &value, HotSpotSettings &settings, QString &error)
{
    const auto refuse = [&](const char *what) {
        error = "qct hotspots: --" + name + " " + value + ": " + QString::fromUtf8(what);
        return false;
    };
    double number = 0;
    if (name == "threshold") {
        if (!positiveNumber(value, number))
            return refuse("not a number of kelvin above 0");
        settings.threshold = float(number);
    } else if (name == "min-area") {
        bool ok = false;
        const int pixels = value.toInt(&ok);
        if (!ok || pixels < 1)
            return refuse("not a whole number of pixels from 1 on");
        settings.minimumArea = pixels;
    } else if (name == "irradiance") {
        if (!positiveNumber(value, number))
            return refuse("not a number of W/m2 above 0");
        settings.irradiance = number;
    } else {
        const QStringList limits = value.split(',');
        double low = 0, high = 0;
        if (limits.size() != 2 || !positiveNumber(limits[0], low) || !positiveNumber(limits[1], high) || low >= high)
            return refuse("not two numbers of kelvin above 0, the first below the second");
        settings.classLimits[0] = float(low);
        settings.classLimits[1] = float(high);
    }
    return true;
}

// Whether the command has the operands it takes.
bool operandsFit(const CommandLine &line)
{
    const int n = line.operands.size();
    if (line.command == "info" || line.command == "hotspots")
        return n >= 1;
    if (line.command == "matrix" || line.command == "samples")
        return n == 1;
    if (line.command == "measure")
        return n == 1 && !line.shapes.isEmpty();
    if (line.command == "csv" || line.command == "report")
        return n >= 2;
    return false;
}

} // namespace

bool parseCommandLine(const QList<QByteArray> &arguments, CommandLine &line, QString &error)
{
    int i = 0;
    if (arguments.value(0) == "--verbose") {
        line.verbose = true;
        ++i;
    }
    const QByteArray command = arguments.value(i++);
    if (command == "--help" || command == "-h") {
        line.command = "help";
        return i == arguments.size();
    }
    line.command = QString::fromLatin1(command);
    bool options = true;
    for (; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments[i];
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (!options || !argument.startsWith("--")) {
            line.operands << argument;
            continue;
        }
        const QString name = QString::fromLatin1(argument.mid(2));
        if (name == "no-sidecar" && convertsPhotographs(line.command)) {
            line.noSidecar = true;
            continue;
        }
        if (name == "excel" && line.command == "csv") {
            line.excel = true;
            continue;
        }
        // Every other option takes a value.
        if (i + 1 >= arguments.size())
            return false;
        const QString value = QString::fromLocal8Bit(arguments[++i]);
        if ((line.command == "csv" || line.command == "report") && name == "lang") {
            if (value != "zh" && value != "en" && value != "ja")
                return false;
            line.language = value;
        } else if (line.command == "report" && name == "format") {
            if (value != "pdf" && value != "docx")
                return false;
            line.word = value == "docx";
        } else if (line.command == "report" && name == "site") {
            line.site = value;
        } else if (line.command == "hotspots" && (name == "geojson" || name == "csv")) {
            (name == "csv" ? line.csvFile : line.geoJsonFile) = arguments[i];
        } else if ((line.command == "hotspots" || line.command == "report")
                   && (name == "threshold" || name == "min-area" || name == "irradiance" || name == "classes")) {
            if (!parseHotSpotOption(name, value, line.hotSpots, error))
                return false;
        } else if (convertsPhotographs(line.command) && line.command != "report" && cameraOptions().contains(name)) {
            if (!parseCamera(name, value, line.camera, error))
                return false;
        } else if (line.command == "measure" && shapeCounts().contains(name)) {
            Shape shape;
            if (!parseShape(name, value, shape, error))
                return false;
            line.shapes.append(shape);
        } else {
            return false;
        }
    }
    return operandsFit(line);
}

int usage(std::FILE *stream, int status)
{
    std::fputs(kUsage, stream);
    return status;
}
