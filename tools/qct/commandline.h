#pragma once

#include "cameraparameters.h"
#include "hotspotdetector.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

#include <cstdio>

// One shape of the measure command: its name (point, line, rect, circle, polygon) and its
// numbers, in pixels of the photograph.
struct Shape
{
    QString name;
    QVector<double> numbers;
};

// Everything the command line says, read in one place: `qct [--verbose] COMMAND [OPTION...]
// OPERAND...`, options anywhere after the command until "--".
struct CommandLine
{
    bool verbose = false;
    QString command;           // info, matrix, measure, csv, report, hotspots, samples or help
    QString language;          // csv and report --lang: zh, en or ja; empty for the system's
    QVector<Shape> shapes;     // measure, in the order given
    CameraCorrection camera;   // --emissivity, --distance, --humidity, --reflected
    bool noSidecar = false;    // --no-sidecar
    bool excel = false;        // csv --excel
    QString site;              // report --site: the cover's site, by default the first folder's name
    bool word = false;         // report --format docx: a Word document instead of PDF
    HotSpotSettings hotSpots;  // hotspots and report --threshold, --min-area, --irradiance, --classes
    QByteArray geoJsonFile;    // hotspots --geojson, --csv: the files' names as given
    QByteArray csvFile;
    QList<QByteArray> operands; // photographs, folders, OUTDIR, DIR: the bytes as given
};

// Reads the arguments (without the program's name). False when they are not a command qct
// runs; error then holds a message for the user, or nothing when the usage says it all.
bool parseCommandLine(const QList<QByteArray> &arguments, CommandLine &line, QString &error);

// The usage text on stream; returns status.
int usage(std::FILE *stream, int status);
