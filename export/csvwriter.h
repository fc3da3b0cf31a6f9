#pragma once

#include <QString>

// Writes a photograph's parameters and temperature matrix as folder/baseName.csv, with the
// labels of the current language. Returns whether the whole file was written; a photograph
// file that no longer exists writes nothing. The file appears only when complete: a failed
// write leaves nothing behind, and error (when given) receives the reason for the user.
bool writeCsvFile(const QString &folder, const QString &photoPath, const QString &baseName, QString *error = nullptr);
