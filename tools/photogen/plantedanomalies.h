#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

// Defects of known position, size and ΔT planted in a generated scene, for the hot-spot
// tests, the benchmark and the demo folder.

enum class AnomalyKind { HotCell, DiodeBand, HotConnector };

// Every pixel of area is planted 1 K below the hottest one, so the area is found whole when
// ΔT is at least the detector's threshold + 1.1 K (a tenth more than the body needs, as the
// detector's cutoff is a float sum); areas must not touch each other.
struct PlantedAnomaly
{
    AnomalyKind kind;
    QRect area;
    QPoint hottest;
    float deltaT; // K above the reference, in tenths
};

// A cell of side × side pixels, hottest in its middle.
PlantedAnomaly hotCell(QPoint topLeft, int side, float deltaT);
// A bypass diode's band: a strip along a third of a module.
PlantedAnomaly diodeBand(QRect strip, float deltaT);
// A connector: 2 × 2 pixels, the smallest area found by default; hottest at its lower right.
PlantedAnomaly hotConnector(QPoint topLeft, float deltaT);

// Rows of panels under a band of cold sky, in °C: every pixel of it within 2 K above the
// median, so it holds no anomaly of its own at thresholds from 2 K on.
std::vector<float> inspectionScene(int width, int height, int variant);

// Plants the anomalies into the row-major field and returns the reference they stand on: the
// lower median of the readings once planted. Every reading is first put on the 0.1 K steps
// that the tenths-of-a-kelvin kinds (direct info block, segmented, companion) store, and the
// planted values are whole tenths above the reference, so the ΔT a loader reads back from
// those kinds is the planted one up to the float rounding of the decoded values (1e-4 K).
// Calibrated photographs store curve indices: there it holds only approximately.
float plantAnomalies(std::vector<float> &temperatures, int width, int height, const std::vector<PlantedAnomaly> &anomalies);
