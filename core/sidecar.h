#pragma once

#include "photorecord.h"

#include <QJsonArray>
#include <QRect>
#include <QString>

#include <optional>

// What the user changed on a photograph, kept beside it in "NAME.jpg.qct.json" so a later run
// restores it; the photograph itself is never written. The file is one JSON object with a
// version; keys this version does not know (a later one's) are kept when it is rewritten.
struct PhotoSettings
{
    CameraCorrection correction;
    int paletteIndex = -1;
    Rendering rendering = Rendering::Embedded;
    TemperatureSpan span;

    bool isDefault() const { return *this == PhotoSettings(); }
    bool operator==(const PhotoSettings &o) const
    {
        return correction == o.correction && paletteIndex == o.paletteIndex && rendering == o.rendering && span == o.span;
    }
    bool operator!=(const PhotoSettings &o) const { return !(*this == o); }
};

PhotoSettings settingsOf(const PhotoRecord &record);
void applySettings(PhotoRecord &record, const PhotoSettings &settings);

QString sidecarPath(const QString &photoPath);

// True with the saved settings, or the defaults when there is no sidecar; false with a
// translated reason when one exists but cannot be read or holds something else.
bool readSidecar(const QString &photoPath, PhotoSettings &settings, QString *error);
// Written whole or not at all. Settings that are all defaults create no file (an existing one
// is rewritten). False with a translated reason.
bool writeSidecar(const QString &photoPath, const PhotoSettings &settings, QString *error);

// The measurement layout kept in the sidecar under "layout" (a JSON array; empty without one).
// False with a translated reason when the sidecar exists but cannot be read.
bool readSidecarLayout(const QString &photoPath, QJsonArray &layout, QString *error);
// Puts the layout into the sidecar, whole or not at all, keeping every other key. An empty
// layout creates no file. False with a translated reason.
bool writeSidecarLayout(const QString &photoPath, const QJsonArray &layout, QString *error);

// The rectangle of pixels (of the unturned photograph) marked as the hot-spot finder's reference
// ("hotSpotReference": [left, top, width, height]); none without one or with anything else there.
std::optional<QRect> sidecarHotSpotReference(const QString &photoPath);
// Marks it, or removes the mark for none, keeping every other key. False with a translated reason.
bool writeSidecarHotSpotReference(const QString &photoPath, const std::optional<QRect> &area, QString *error);

// Whether loading a photograph reads its sidecar (on unless a command says otherwise).
void setSidecarsRead(bool read);
bool sidecarsRead();
// The settings saved beside a photograph, when sidecars are read; the defaults otherwise and
// when they cannot be read (error then says why).
PhotoSettings savedSettings(const QString &photoPath, QString &error);
