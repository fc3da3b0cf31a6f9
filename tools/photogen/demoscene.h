#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A plausible roof-top solar scene in °C: cold sky above, rows of warm panels with a hot
// cell that moves with the variant, warm gravel in between.
std::vector<float> solarScene(int width, int height, int variant);

// Writes a dozen photographs of such scenes in every container kind and with several gimbal
// codes into dir, then six of panels with planted defects (hot cells, diode bands, hot
// connectors, each in two of them); returns the paths of those written. failures (when given)
// receives one "path: reason" per photograph that could not be written.
QStringList writeDemoFolder(const QString &dir, QStringList *failures = nullptr);
