#pragma once

#include <QString>

struct PhotoRecord;

// How a table is written: as it always was (texts in the system's 8-bit encoding, 65536 for a
// pixel without a reading), or for a spreadsheet such as Excel: a UTF-8 byte-order mark, UTF-8
// texts, and an empty cell for a pixel without a reading, so averages stay right.
enum class CsvStyle { Plain, Spreadsheet };

// Writes a photograph's parameters and temperature matrix from its record as
// folder/baseName.csv, with the labels of the current language; without a record, the
// parameter lines with empty values. Returns whether the whole file was written. The file
// appears only when complete: a failed write leaves nothing behind, and error (when given)
// receives the reason for the user.
bool writeCsvFile(const QString &folder, const QString &baseName, const PhotoRecord *record, QString *error = nullptr,
                  CsvStyle style = CsvStyle::Plain);
