#pragma once

#include "hotspotmodel.h"

#include <QSet>
#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

// The hot-spot finder: scans a list of photographs in the background and shows every anomaly
// of them in one table, sortable and filtered by class; exports the list as CSV or GeoJSON.
class HotSpotPage : public QWidget
{
    Q_OBJECT
public:
    explicit HotSpotPage(QWidget *parent = nullptr);

    // Scans photos (a folder's or the opened list), replacing what was shown.
    void scan(const QStringList &photos);
    // The table of photos: the one on show when they are the photographs scanned last (coming
    // back from a photograph keeps it), else a new scan.
    void showPhotos(const QStringList &photos);
    // A photograph's settings changed (its camera parameters corrected, its reference marked):
    // its rows of the table are found again in the background with the settings of the scan.
    void photographChanged(const QString &path);
    void retranslate();

    // The settings of the fields (also what is remembered in the settings file).
    HotSpotSettings settings() const;
    HotSpotModel *model() const { return m_model; }
    HotSpotClassFilter *filter() const { return m_filter; }
    HotSpotScan *scanner() const { return m_scan; }
    QTableView *table() const { return m_table; }

    // Writes the anomalies shown as CSV or GeoJSON; false with the reason for the user.
    bool exportCsv(const QString &path, QString *error) const;
    bool exportGeoJson(const QString &path, int *skipped, QString *error) const;

signals:
    // The photographs of the scan, the one holding the anomaly and the anomaly's pixels.
    void openAnomaly(const QStringList &photos, int index, const QRect &bounds);
    // Back to the photo library.
    void sig_home();

private:
    void rescan();
    void rememberSettings() const;
    void showCounts();
    void scanEnded(bool cancelled);
    // Scans the changed photographs again once no scan runs.
    void refreshChanged();
    // Selects the photograph's anomaly of highest ΔT shown (its rows replaced, the selection
    // would pass to another photograph's); none shown, nothing is selected.
    void selectPhotograph(const QString &path);
    // Says how the scan stands, in the language of the moment.
    void showState();
    void openRow(const QModelIndex &index);
    void askAndExport(bool geoJson);

    QStringList m_photos;
    HotSpotModel *m_model;
    HotSpotClassFilter *m_filter;
    HotSpotScan *m_scan;
    HotSpotSettings m_scanSettings;     // those of the table shown
    HotSpotScan *m_refresh;             // scans changed photographs again
    QStringList m_changed, m_refreshing; // waiting for it; being scanned by it
    QVector<FoundHotSpot> m_refreshed;  // the anomalies of the photograph it is handing on
    QLabel *m_thresholdLabel, *m_areaLabel, *m_irradianceLabel, *m_limitsLabel, *m_showLabel, *m_counts, *m_state;
    QDoubleSpinBox *m_threshold, *m_irradiance, *m_limitLow, *m_limitHigh;
    QSpinBox *m_minimumArea;
    QPushButton *m_homeButton, *m_scanButton, *m_cancelButton, *m_csvButton, *m_geoJsonButton;
    QComboBox *m_lowestClass;
    QProgressBar *m_progress;
    QTableView *m_table;
    QSet<QString> m_unreadable; // by the scan, or by a rescan after a correction
    QString m_refreshFailure;   // the photograph the rescan could not read just now
    enum class State { Idle, Running, Finished, Cancelled } m_scanState = State::Idle;
};
