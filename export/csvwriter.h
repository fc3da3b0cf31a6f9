#pragma once

#include <QString>

struct PhotoRecord;

// Writes a photograph's parameters and temperature matrix from its record as
// folder/baseName.csv, with the labels of the current language; without a record, the
// parameter lines with empty values. Returns whether the whole file was written. The file
// appears only when complete: a failed write leaves nothing behind, and error (when given)
// receives the reason for the user.
bool writeCsvFile(const QString &folder, const QString &baseName, const PhotoRecord *record, QString *error = nullptr);
