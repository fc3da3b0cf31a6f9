#pragma once

#include "reportdocument.h"

#include <QString>

// Creates the document of one report from the template.
bool openReportDocument(ReportDocument &document, const QString &templatePath);

// Fills the opened document for the photograph of the snapshot (parameters, the snapshot
// picture, the table of measured regions) and saves it as folder/baseName.docx. Returns
// whether the report was saved; when not, nothing is left there and error (when given)
// receives the reason for the user.
bool writeWordReport(ReportDocument &document, const QString &folder, const QString &snapshot, const QString &baseName,
                     QString *error = nullptr);
