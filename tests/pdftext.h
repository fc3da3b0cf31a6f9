#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The text of a PDF (of page first only, when given) as `pdftotext -layout` reads it, in
// compatibility form: the CJK fonts map some ideographs to radicals of the same shape as well
// (高 and ⾼). Empty when it cannot be read.
inline QString pdfText(const QString &pdf, int first = 0)
{
    QStringList arguments{"-layout"};
    if (first > 0)
        arguments << "-f" << QString::number(first) << "-l" << QString::number(first);
    arguments << pdf << "-";
    QProcess p;
    p.start("pdftotext", arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}
