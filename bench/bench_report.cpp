// The combined report as a whole `qct report` process over 100 and 400 generated photographs,
// as PDF and as Word, against `qct csv` writing their CSV tables in the same run (median of 3
// runs each), with the resident peak of each report process at each size: it must not grow with
// the number of photographs (pictures are drawn and written one at a time, not kept).
#include "benchphotoset.h"
#include "benchprocess.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray qct = QByteArrayLiteral(QCT_PATH);
    QTemporaryDir dir;
    const QStringList all = writeBenchPhotoSet(dir.filePath("photos"), 400);
    for (int count : {100, 400}) {
        const QStringList photos = all.mid(0, count);
        std::vector<double> csv, pdf, docx;
        double pdfPeak = 0, docxPeak = 0;
        for (int round = 0; round < 3; ++round) {
            csv.push_back(runProcess(qct, QStringList{"csv", dir.filePath("csv")} + photos).seconds);
            const ProcessRun p = runProcess(qct, QStringList{"report", dir.filePath("flight.pdf")} + photos);
            const ProcessRun w = runProcess(qct, QStringList{"report", "--format", "docx", dir.filePath("flight.docx")} + photos);
            pdf.push_back(p.seconds);
            docx.push_back(w.seconds);
            pdfPeak = std::max(pdfPeak, p.peakMiB);
            docxPeak = std::max(docxPeak, w.peakMiB);
        }
        const double c = median(csv);
        for (const auto &[name, times, peak] : {std::tuple{"PDF", median(pdf), pdfPeak}, std::tuple{"Word", median(docx), docxPeak}})
            std::printf("%d photographs: qct report (%s) %.2f s, qct csv %.2f s: %.2fx the CSV tables; resident peak %.0f MiB\n",
                        count, name, times, c, times / c, peak);
        std::fflush(stdout);
    }
    return 0;
}
