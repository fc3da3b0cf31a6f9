#include "photorecord.h"

#include "photoloader.h"
#include "picturereader.h"
#include "sidecar.h"

#include <QFile>

namespace {

QString textOf(IrInfo &info, const char *key)
{
    return QString::fromLatin1(info[key].text.c_str());
}

// "%0%1": tenths of a degree with one decimal, then the unit of IrTempUnit.
QString temperatureText(IrInfo &info, const char *key, const QString &unit)
{
    return QString("%0%1").arg(QString::number(textOf(info, key).toDouble() / 10, 'f', 1), unit);
}

// A date, one space, a time: the date's "-" and ":" become "/".
QString dateTimeText(IrInfo &info, const char *key)
{
    const QStringList pieces = textOf(info, key).split(' ');
    QString date = pieces.value(0);
    date.replace('-', '/').replace(':', '/');
    return QString("%0 %1").arg(date, pieces.value(1));
}

// The values the engine used are the values shown: corrected ones replace the tags' texts.
void showCorrection(QStringList &texts, const CameraCorrection &c)
{
    const std::pair<DisplayText, std::pair<CameraField, std::optional<double>>> fields[] = {
        {TextEmissivity, {CameraField::Emissivity, c.emissivity}},
        {TextDistance, {CameraField::Distance, c.distance}},
        {TextHumidity, {CameraField::Humidity, c.humidity}},
        {TextReflectedTemp, {CameraField::Reflected, c.reflected}}};
    for (const auto &[text, field] : fields) {
        if (field.second && text < texts.size())
            texts[text] = correctedText(field.first, *field.second);
    }
}

} // namespace

QStringList displayTexts(IrInfo &info, int width, int height)
{
    // A value the photograph does not state reads "NA", never as an invented "%", "0.0m" or
    // "0.0℃"; stated values keep the panel's format.
    const auto stated = [&info](const char *key) {
        const auto found = info.find(key);
        return found != info.end() && !QString::fromLatin1(found->second.text.c_str()).trimmed().isEmpty();
    };
    const auto ifStated = [&](const char *key, const QString &text) { return stated(key) ? text : QString("NA"); };
    const auto temperature = [&](const char *key, const QString &unit) {
        return ifStated(key, temperatureText(info, key, unit));
    };
    const auto dateTime = [&](const char *key) { return ifStated(key, dateTimeText(info, key)); };
    // Without a GPS block the directions are "?" and the numbers zero.
    const bool gps = stated("GPSLongitudeRef") && stated("GPSLatitudeRef") && textOf(info, "GPSLongitudeRef") != "?"
        && textOf(info, "GPSLatitudeRef") != "?";

    const QString unit = unitSymbol(temperatureUnitFromCode(textOf(info, "IrTempUnit").toInt()));
    QStringList texts;
    texts << temperature("IrReflectTemp", unit)
          << temperature("IrAirTemp", unit)
          << ifStated("Irhumidity", QString("%0%rh").arg(textOf(info, "Irhumidity")))
          << ifStated("IrEmit", QString("%0%").arg(textOf(info, "IrEmit")))
          << ifStated("IrTransRate", QString("%0%").arg(textOf(info, "IrTransRate")))
          << ifStated("IrDistance", QString("%0m").arg(QString::number(textOf(info, "IrDistance").toDouble(), 'f', 1)))
          << ifStated("IrGimbalType", textOf(info, "IrGimbalType"))
          << ifStated("IrVension", textOf(info, "IrVension"))
          << dateTime("DateTimeOriginal")
          << dateTime("DateTimeDigitized")
          << QString("%0px * %1px").arg(width).arg(height)
          << temperature("IrCavityTemp", unit)
          << temperature("IrFocusPlaneTemp", unit)
          << dateTime("IrLastFFCTime")
          << ifStated("IrGainMode", textOf(info, "IrGainMode").toInt() != 0 ? QT_TRANSLATE_NOOP("SettingPage", "低增益")
                                                                            : QT_TRANSLATE_NOOP("SettingPage", "高增益"))
          << (gps ? QString("%0%1,%2%3").arg(textOf(info, "GPSLongitudeRef"), textOf(info, "GPSLongitude"),
                                             textOf(info, "GPSLatitudeRef"), textOf(info, "GPSLatitude"))
                  : QString("NA"))
          << (gps && stated("GPSAltitude")
                  ? QString("%0m").arg(QString::number(textOf(info, "GPSAltitude").toDouble(), 'f', 1))
                  : QString("NA"));
    return texts;
}

const SharedMatrix &noReadingMatrix()
{
    static const SharedMatrix matrix = sharedMatrix(TemperatureMatrix(1, 1, NA_TEMPERATURE));
    return matrix;
}

namespace {

// Matrices the loads make are changeable objects behind the shared pointer, told apart by this
// deleter: once only their record holds one, the record's next load may fill its block again.
struct RefillableMatrix
{
    void operator()(TemperatureMatrix *matrix) const { delete matrix; }
};

// The block of the record's matrix when a load made it and only the record holds it; an empty
// matrix otherwise. A tool that goes through thousands of photographs with one record then
// maps no new block per photograph.
TemperatureMatrix takeBlock(SharedMatrix &matrix)
{
    if (!matrix || matrix.use_count() != 1 || !std::get_deleter<RefillableMatrix>(matrix))
        return TemperatureMatrix();
    TemperatureMatrix block = std::move(const_cast<TemperatureMatrix &>(*matrix));
    matrix = noReadingMatrix();
    return block;
}

} // namespace

int loadPhoto(const QByteArray &nativePath, const CameraCorrection &correction, PhotoRecord &record,
              PhotoType *photoType, FrameStatistics statistics)
{
    // The picture's own size; read from its header, so no GUI is needed.
    const QSize size = pictureFileSize(nativePath);
    const int width = size.isValid() ? size.width() : 0;
    const int height = size.isValid() ? size.height() : 0;

    TempStats stats{};
    IrInfo info;
    TemperatureMatrix matrix = takeBlock(record.matrix);
    const int result = loadIrImage(nativePath.constData(), width, height,
                                   statistics == FrameStatistics::Computed ? &stats : nullptr, info, matrix,
                                   correction, photoType);
    record.path = QFile::decodeName(nativePath);
    record.calibrated = result == LoadOk && isCalibratedGimbal(info["IrGimbalType"].text);
    // A size the program refuses to decode is no size: nothing is drawn or scaled to it.
    const bool fits = pictureSizeFits(QSize(width, height));
    record.width = fits ? width : 0;
    record.height = fits ? height : 0;
    record.hasTemperature = result == LoadOk;
    if (result != LoadOk) {
        record.stats = TempStats();
        return result;
    }
    record.stats = stats;
    record.unit = temperatureUnitFromCode(textOf(info, "IrTempUnit").toInt());
    record.texts = displayTexts(info, width, height);
    if (record.calibrated)
        showCorrection(record.texts, correction);
    record.matrix = SharedMatrix(new TemperatureMatrix(std::move(matrix)), RefillableMatrix());
    return result;
}

int loadNewPhoto(const QByteArray &nativePath, PhotoRecord &record, PhotoType *photoType,
                 const CameraCorrection &overriding, FrameStatistics statistics)
{
    // A new record, but for the matrix, whose block the load may fill again.
    SharedMatrix previous = std::move(record.matrix);
    record = PhotoRecord();
    record.matrix = std::move(previous);
    PhotoSettings saved = savedSettings(QFile::decodeName(nativePath), record.sidecarError);
    saved.correction = saved.correction.overlaidWith(overriding);
    applySettings(record, saved);
    return loadPhoto(nativePath, saved.correction, record, photoType, statistics);
}
