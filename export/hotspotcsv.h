#pragma once

#include "hotspotdetector.h"

#include <QSaveFile>
#include <QString>

// The anomaly list as a CSV file (UTF-8, comma-separated, RFC 4180 quoting, lines ending in
// "\n"): a header, then one row per anomaly with the values `qct hotspots` prints, arrays
// spread over columns (maxPosX, maxPosY, bboxLeft, ...) and an empty cell for null. Rows are
// written as they come; the file appears only when committed whole.
class HotSpotCsvFile
{
public:
    explicit HotSpotCsvFile(const QString &path);
    // Opens the file and writes the header; false with the reason in error.
    bool open(QString *error);
    // One anomaly's row with its line end; made apart from the file, so rows can be made on
    // several threads and written in order.
    static QByteArray row(const QString &photoPath, const HotSpot &spot);
    void write(const QByteArray &rows);
    void add(const QString &photoPath, const HotSpot &spot) { write(row(photoPath, spot)); }
    // False with the reason in error when any of it could not be written.
    bool commit(QString *error);

private:
    QSaveFile m_file;
};
