#include "hotspotpage.h"

#include "appsettings.h"
#include "hotspotcsv.h"
#include "hotspotgeojson.h"
#include "mymsgboxdlg.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kGroup = QStringLiteral("HotSpots");

double storedNumber(const QString &key, double fallback)
{
    bool ok = false;
    const double value = AppSettings::instance().readValue(kGroup, key, QString::number(fallback)).toDouble(&ok);
    return ok ? value : fallback;
}

QDoubleSpinBox *kelvinBox(double low, double high, double value, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setValue(value);
    return box;
}

} // namespace

HotSpotPage::HotSpotPage(QWidget *parent)
    : QWidget(parent), m_model(new HotSpotModel(this)), m_filter(new HotSpotClassFilter(this)),
      m_scan(new HotSpotScan(this)), m_refresh(new HotSpotScan(this))
{
    setObjectName("HotSpotPage");
    // The window's style sheet gives only the dark background: without a colour of their own
    // the controls draw black text on it.
    setStyleSheet("QWidget{color:rgba(255,255,255,0.85);}QWidget:disabled{color:rgba(255,255,255,0.4);}");
    const HotSpotSettings defaults;
    m_thresholdLabel = new QLabel(this);
    m_threshold = kelvinBox(0.1, 200, storedNumber("Threshold", defaults.threshold), this);
    m_areaLabel = new QLabel(this);
    m_minimumArea = new QSpinBox(this);
    m_minimumArea->setRange(1, 1000000);
    m_minimumArea->setValue(int(storedNumber("MinimumArea", defaults.minimumArea)));
    m_irradianceLabel = new QLabel(this);
    m_irradiance = new QDoubleSpinBox(this);
    m_irradiance->setRange(0, 2000);
    m_irradiance->setDecimals(0);
    m_irradiance->setSingleStep(50);
    m_irradiance->setValue(storedNumber("Irradiance", 0));
    m_limitsLabel = new QLabel(this);
    m_limitLow = kelvinBox(0.1, 500, storedNumber("ClassLimit1", defaults.classLimits[0]), this);
    m_limitHigh = kelvinBox(0.1, 500, storedNumber("ClassLimit2", defaults.classLimits[1]), this);
    m_homeButton = new QPushButton(this);
    m_homeButton->setObjectName("btn_hotSpotsHome");
    m_homeButton->setIcon(QIcon(":/res/icon/home-defult.svg"));
    m_scanButton = new QPushButton(this);
    m_scanButton->setObjectName("btn_scanHotSpots");
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName("btn_cancelHotSpots");
    m_cancelButton->setEnabled(false);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);

    auto *settingsRow = new QHBoxLayout;
    for (QWidget *widget : std::initializer_list<QWidget *>{m_homeButton, m_thresholdLabel, m_threshold, m_areaLabel, m_minimumArea,
                                                            m_irradianceLabel, m_irradiance, m_limitsLabel, m_limitLow,
                                                            m_limitHigh, m_scanButton, m_cancelButton})
        settingsRow->addWidget(widget);
    settingsRow->addWidget(m_progress, 1);

    m_showLabel = new QLabel(this);
    m_lowestClass = new QComboBox(this);
    m_lowestClass->setObjectName("cmb_lowestClass");
    m_lowestClass->addItems({QString(), QString(), QString()});
    m_counts = new QLabel(this);
    m_state = new QLabel(this);
    m_state->setObjectName("lab_scanState");
    m_csvButton = new QPushButton(this);
    m_csvButton->setObjectName("btn_hotSpotsCsv");
    m_geoJsonButton = new QPushButton(this);
    m_geoJsonButton->setObjectName("btn_hotSpotsGeoJson");
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_showLabel);
    listRow->addWidget(m_lowestClass);
    listRow->addWidget(m_counts);
    listRow->addWidget(m_state, 1);
    listRow->addWidget(m_csvButton);
    listRow->addWidget(m_geoJsonButton);

    m_filter->setSourceModel(m_model);
    m_table = new QTableView(this);
    m_table->setModel(m_filter);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(HotSpotModel::DeltaT, Qt::DescendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setIconSize(QSize(64, 64));
    m_table->verticalHeader()->setDefaultSectionSize(70);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setWordWrap(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settingsRow);
    layout->addLayout(listRow);
    layout->addWidget(m_table, 1);

    connect(m_homeButton, &QPushButton::clicked, this, &HotSpotPage::sig_home);
    connect(m_scanButton, &QPushButton::clicked, this, &HotSpotPage::rescan);
    connect(m_cancelButton, &QPushButton::clicked, m_scan, &HotSpotScan::cancel);
    connect(m_lowestClass, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { m_filter->setLowestClass(index + 1); });
    connect(m_csvButton, &QPushButton::clicked, this, [this] { askAndExport(false); });
    connect(m_geoJsonButton, &QPushButton::clicked, this, [this] { askAndExport(true); });
    connect(m_table, &QTableView::doubleClicked, this, &HotSpotPage::openRow);
    connect(m_scan, &HotSpotScan::found, this, [this](const QVector<FoundHotSpot> &spots) {
        m_model->append(spots);
        showCounts();
    });
    connect(m_scan, &HotSpotScan::unreadable, this, [this](const QString &path) { m_unreadable.insert(path); });
    connect(m_scan, &HotSpotScan::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
    });
    connect(m_scan, &HotSpotScan::finished, this, &HotSpotPage::scanEnded);
    connect(m_refresh, &HotSpotScan::found, this, [this](const QVector<FoundHotSpot> &spots) { m_refreshed += spots; });
    // A corrected photograph that can no longer be read loses its rows and is counted.
    connect(m_refresh, &HotSpotScan::unreadable, this, [this](const QString &path) {
        m_unreadable.insert(path);
        m_refreshFailure = path;
    });
    // Each photograph's progress follows its anomalies, if any: its rows are replaced then.
    connect(m_refresh, &HotSpotScan::progress, this, [this](int done, int) {
        const QString &path = m_refreshing.at(done - 1);
        if (m_refreshFailure != path)
            m_unreadable.remove(path); // read again after all
        m_refreshFailure.clear();
        const QModelIndex current = m_table->currentIndex();
        const bool wasCurrent = current.isValid() && m_model->at(m_filter->mapToSource(current).row()).path == path;
        m_model->replacePhotograph(path, m_refreshed);
        m_refreshed.clear();
        if (wasCurrent)
            selectPhotograph(path);
        showCounts();
    });
    connect(m_refresh, &HotSpotScan::finished, this, &HotSpotPage::refreshChanged);
    retranslate();
}

HotSpotSettings HotSpotPage::settings() const
{
    HotSpotSettings settings;
    settings.threshold = float(m_threshold->value());
    settings.minimumArea = m_minimumArea->value();
    if (m_irradiance->value() > 0)
        settings.irradiance = m_irradiance->value();
    settings.classLimits[0] = float(std::min(m_limitLow->value(), m_limitHigh->value()));
    settings.classLimits[1] = float(std::max(m_limitLow->value(), m_limitHigh->value()));
    return settings;
}

void HotSpotPage::scan(const QStringList &photos)
{
    m_photos = photos;
    rescan();
}

void HotSpotPage::showPhotos(const QStringList &photos)
{
    if (photos != m_photos || m_scanState == State::Idle || m_scanState == State::Cancelled)
        scan(photos);
}

void HotSpotPage::photographChanged(const QString &path)
{
    // A cancelled scan is made again when the page is shown; a running one's photographs may
    // have been scanned before the change.
    if (!m_photos.contains(path) || m_changed.contains(path) ||
        (m_scanState != State::Running && m_scanState != State::Finished))
        return;
    m_changed.append(path);
    refreshChanged();
}

void HotSpotPage::refreshChanged()
{
    if (!m_changed.isEmpty() && !m_scan->running() && !m_refresh->running()) {
        m_refreshing = m_changed;
        m_changed.clear();
        m_refreshed.clear();
        m_refresh->start(m_refreshing, m_scanSettings);
    }
    showState();
}

void HotSpotPage::selectPhotograph(const QString &path)
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->at(row).path != path)
            continue;
        const QModelIndex shown = m_filter->mapFromSource(m_model->index(row, HotSpotModel::File));
        if (shown.isValid()) {
            m_table->setCurrentIndex(shown);
            return;
        }
    }
    m_table->clearSelection();
}

void HotSpotPage::rescan()
{
    rememberSettings();
    m_refresh->stop();
    m_changed.clear();
    m_scanSettings = settings();
    m_model->clear();
    m_unreadable.clear();
    showCounts();
    m_progress->setRange(0, std::max(1, int(m_photos.size())));
    m_progress->setValue(0);
    m_scanButton->setEnabled(false);
    m_cancelButton->setEnabled(true);
    m_scanState = State::Running;
    showState();
    m_scan->start(m_photos, m_scanSettings);
}

void HotSpotPage::rememberSettings() const
{
    AppSettings &stored = AppSettings::instance();
    stored.writeValue(kGroup, "Threshold", QString::number(m_threshold->value()));
    stored.writeValue(kGroup, "MinimumArea", QString::number(m_minimumArea->value()));
    stored.writeValue(kGroup, "Irradiance", QString::number(m_irradiance->value()));
    stored.writeValue(kGroup, "ClassLimit1", QString::number(m_limitLow->value()));
    stored.writeValue(kGroup, "ClassLimit2", QString::number(m_limitHigh->value()));
}

void HotSpotPage::showCounts()
{
    const std::array<int, 3> counts = m_model->classCounts();
    m_counts->setText(tr("等级1: %1  等级2: %2  等级3: %3").arg(counts[0]).arg(counts[1]).arg(counts[2]));
    m_csvButton->setEnabled(m_model->rowCount() > 0);
    m_geoJsonButton->setEnabled(m_model->rowCount() > 0);
}

void HotSpotPage::scanEnded(bool cancelled)
{
    m_scanButton->setEnabled(true);
    m_cancelButton->setEnabled(false);
    m_scanState = cancelled ? State::Cancelled : State::Finished;
    if (cancelled)
        m_changed.clear();
    refreshChanged();
}

void HotSpotPage::showState()
{
    QString text;
    if (m_scanState == State::Running)
        text = tr("正在扫描 %1 张图片…").arg(m_photos.size());
    else if (m_refresh->running())
        text = tr("正在按更改后的参数重新扫描 %1 张图片…").arg(m_refreshing.size());
    else if (m_scanState == State::Cancelled)
        text = tr("扫描已取消：找到 %1 处异常。").arg(m_model->rowCount());
    else if (m_scanState == State::Finished)
        text = tr("扫描完成：%1 张图片中找到 %2 处异常。").arg(m_photos.size()).arg(m_model->rowCount());
    if (!m_unreadable.isEmpty() && m_scanState != State::Running)
        text += QLatin1Char(' ') + tr("%1 张图片无法读取。").arg(m_unreadable.size());
    m_state->setText(text);
}

void HotSpotPage::openRow(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const FoundHotSpot &row = m_model->at(m_filter->mapToSource(index).row());
    const int photo = m_photos.indexOf(row.path);
    if (photo >= 0)
        emit openAnomaly(m_photos, photo, row.spot.bounds);
}

bool HotSpotPage::exportCsv(const QString &path, QString *error) const
{
    HotSpotCsvFile file(path);
    if (!file.open(error))
        return false;
    for (int row = 0; row < m_filter->rowCount(); ++row) {
        const FoundHotSpot &spot = m_model->at(m_filter->mapToSource(m_filter->index(row, 0)).row());
        file.add(spot.path, spot.spot);
    }
    return file.commit(error);
}

bool HotSpotPage::exportGeoJson(const QString &path, int *skipped, QString *error) const
{
    HotSpotGeoJsonFile file(path);
    if (!file.open(error))
        return false;
    *skipped = 0;
    for (int row = 0; row < m_filter->rowCount(); ++row) {
        const FoundHotSpot &spot = m_model->at(m_filter->mapToSource(m_filter->index(row, 0)).row());
        if (spot.position)
            file.add(spot.path, *spot.position, spot.spot);
        else
            ++*skipped;
    }
    return file.commit(error);
}

void HotSpotPage::askAndExport(bool geoJson)
{
    const QString folder = m_photos.isEmpty() ? QDir::homePath() : QFileInfo(m_photos.first()).absolutePath();
    const QString proposed = folder + (geoJson ? QStringLiteral("/hotspots.geojson") : QStringLiteral("/hotspots.csv"));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("导出异常列表"), proposed, geoJson ? tr("GeoJSON (*.geojson *.json)") : tr("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    int skipped = 0;
    const bool written = geoJson ? exportGeoJson(path, &skipped, &error) : exportCsv(path, &error);
    QString text = written ? tr("已导出到 %1").arg(QDir::toNativeSeparators(path)) : tr("导出失败：%1").arg(error);
    if (written && skipped > 0)
        text += QLatin1Char('\n') + tr("%1 处异常所在的图片没有GPS位置，未写入。").arg(skipped);
    MyMsgBoxDlg box(tr("提示"), QPixmap(written ? ":/res/icon/sucess.svg" : ":/res/icon/warning.svg"), text,
                    MyMsgBoxDlg::ConfirmOnly);
    box.exec();
}

void HotSpotPage::retranslate()
{
    m_homeButton->setText(tr("首页"));
    m_thresholdLabel->setText(tr("阈值(K)"));
    m_areaLabel->setText(tr("最小面积(像素)"));
    m_irradianceLabel->setText(tr("辐照度(W/m²)"));
    m_irradiance->setSpecialValueText(tr("无"));
    m_limitsLabel->setText(tr("等级界限(K)"));
    m_scanButton->setText(tr("重新扫描"));
    m_cancelButton->setText(tr("取消"));
    m_showLabel->setText(tr("显示"));
    m_lowestClass->setItemText(0, tr("全部等级"));
    m_lowestClass->setItemText(1, tr("等级2及以上"));
    m_lowestClass->setItemText(2, tr("仅等级3"));
    m_csvButton->setText(tr("导出CSV"));
    m_geoJsonButton->setText(tr("导出GeoJSON"));
    m_model->retranslate();
    showCounts();
    showState();
}
