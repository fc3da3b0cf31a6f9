#include "settingpage.h"

#include "cameraparametereditor.h"
#include "colourdialog.h"
#include "colourscalebar.h"
#include "fittingscrollarea.h"
#include "itemtables.h"
#include "layouthistory.h"
#include "measurementitems.h"
#include "modaldialog.h"
#include "mygraphicsscene.h"
#include "myitemtemp.h"
#include "mymsgboxdlg.h"
#include "mytooltip.h"
#include "pagetables.h"
#include "palette.h"
#include "photorecord.h"
#include "openedphotos.h"
#include "photostore.h"
#include "my3dwdg.h"
#include "qgraphicspaint.h"
#include "rangeslider.h"
#include "tempalertdlg.h"
#include "regionstatistics.h"
#include "renderingcontrols.h"
#include "screenlayout.h"
#include "sidecar.h"
#include "snapshotwriter.h"
#include "temperaturerendering.h"
#include "waitwithevents.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

constexpr int kNameRole = 100;

// The information panel: caption, line edit and the record text it shows.
struct InfoRow
{
    const char *caption;
    const char *edit;
    DisplayText text;
};
const InfoRow kInfoRows[] = {
    {QT_TRANSLATE_NOOP("SettingPage", "辐射率："), "lineEdit_emissivity", TextEmissivity},
    {QT_TRANSLATE_NOOP("SettingPage", "距离："), "lineEdit_distance", TextDistance},
    {QT_TRANSLATE_NOOP("SettingPage", "湿度："), "lineEdit_humidity", TextHumidity},
    {QT_TRANSLATE_NOOP("SettingPage", "反射温度："), "lineEdit_reflectTemp", TextReflectedTemp},
    {QT_TRANSLATE_NOOP("SettingPage", "大气温度："), "lineEdit_atmosphericTemp", TextAirTemp},
    {QT_TRANSLATE_NOOP("SettingPage", "大气透过率："), "lineEdit_atmosphericTransmittance", TextTransmittance},
    {QT_TRANSLATE_NOOP("SettingPage", "热成像云台型号："), "lineEdit_imgSN", TextGimbalType},
    {QT_TRANSLATE_NOOP("SettingPage", "红外版本号："), "lineEdit_version", TextVersion},
    {QT_TRANSLATE_NOOP("SettingPage", "创建日期："), "lineEdit_createDate", TextCreated},
    {QT_TRANSLATE_NOOP("SettingPage", "修改日期："), "lineEdit_updateDate", TextModified},
    {QT_TRANSLATE_NOOP("SettingPage", "图像宽高："), "lineEdit_imgWH", TextResolution},
    {QT_TRANSLATE_NOOP("SettingPage", "热成像腔体温度："), "lineEdit_cavityTemp", TextCavityTemp},
    {QT_TRANSLATE_NOOP("SettingPage", "焦平面温度："), "lineEdit_focalPlaneTemp", TextFocalPlaneTemp},
    {QT_TRANSLATE_NOOP("SettingPage", "上一次快门时间："), "lineEdit_lastTime", TextLastFlatField},
    {QT_TRANSLATE_NOOP("SettingPage", "当前增益状态："), "lineEdit_currentGainState", TextGainMode},
    {QT_TRANSLATE_NOOP("SettingPage", "GPS信息："), "lineEdit_GPS", TextGps},
    {QT_TRANSLATE_NOOP("SettingPage", "高度："), "lineEdit_high", TextAltitude},
};
constexpr int kEnvironmentRows = 6; // the rows before the image heading

} // namespace

SettingPage::SettingPage(QWidget *parent)
    : QWidget(parent)
    , m_toolTip(new MyToolTip(this))
    , m_slider(new RangeSlider(Qt::Vertical, RangeSlider::DoubleHandles))
{
    // Kept in a layout of no widget: the slider follows each photograph but is not shown.
    m_sliderLayout.addWidget(m_slider);
    setObjectName("SettingPage");
    buildForm();
    m_toolTip->hide();
    m_paletteList->installEventFilter(this);
    m_paletteList->viewport()->installEventFilter(this);
    connect(this, &SettingPage::sig_click_pre_next, m_view, &QGraphicsPaint::slot_clickprenext);
    connect(m_view, &QGraphicsPaint::sig_updateItem, this, &SettingPage::slot_updateItemTemp);
    connect(m_view, &QGraphicsPaint::sig_deleteItem, this, &SettingPage::slot_deleteItem);
    connect(m_view, &QGraphicsPaint::sig_copyItemToCurrent, this, &SettingPage::rebuildItemList);
    buildLayoutHistory();
    buildKeyActions();
    retranslate();
    QMetaObject::connectSlotsByName(this);
}

SettingPage::~SettingPage()
{
    cancelLoad();
    waitForLoad();
    delete m_slider;
    // Out of the list while it is empty, the spacer belongs to no layout.
    if (m_itemLayout->indexOf(m_itemSpacer) < 0)
        delete m_itemSpacer;
}

void SettingPage::buildForm()
{
    setStyleSheet("QWidget{font-family:Microsoft YaHei;font-size:16px;color:rgba(255,255,255,0.85);"
                  "background-color:#333333;}"
                  "QGroupBox{border:none;background-color:#2A2A2A;margin-top:24px;}"
                  "QGroupBox::title{subcontrol-origin:margin;left:8px;color:#ffffff;}"
                  "QLineEdit{border:none;background:transparent;color:#ffffff;}"
                  "QPushButton{border:none;background:transparent;}"
                  "QTabWidget::pane{border:none;}"
                  "QTabBar::tab{background:#333333;padding:6px 12px;color:rgba(255,255,255,0.55);}"
                  "QTabBar::tab:selected{color:#08A4FF;}"
                  "QListWidget{border:none;background:transparent;outline:0px;}"
                  "QListWidget::item:selected{border:2px solid #08A4FF;border-radius:4px;}"
                  "QScrollArea{border:none;}"
                  "QScrollBar:vertical{width:6px;background:transparent;}"
                  "QScrollBar::handle:vertical{background:rgba(255,255,255,0.3);border-radius:3px;min-height:40px;}");

    m_pagingGroup = new QGroupBox(this);
    m_pagingGroup->setObjectName("groupBox_2");
    m_pageText = new QLabel("2/10", m_pagingGroup);
    m_pageText->setObjectName("lab_currPage");
    m_prev = new QPushButton(m_pagingGroup);
    m_prev->setObjectName("btn_prevImg");
    m_next = new QPushButton(m_pagingGroup);
    m_next->setObjectName("btn_nextImg");
    for (QPushButton *b : {m_prev, m_next})
        b->setIconSize(QSize(24, 24));
    m_paletteList = new QListWidget(m_pagingGroup);
    m_paletteList->setObjectName("listWidget");
    m_paletteList->setViewMode(QListView::IconMode);
    m_paletteList->setIconSize(QSize(60, 60));
    m_paletteList->setSpacing(6);
    m_paletteList->setResizeMode(QListView::Adjust);
    m_paletteList->setMovement(QListView::Static);
    m_paletteList->setMouseTracking(true);
    m_paletteList->setFixedWidth(160);
    for (const PaletteListEntry &entry : kPaletteList) {
        auto *item = new QListWidgetItem(QIcon(QPixmap(QString(":/res/icon/") + entry.icon).scaled(60, 60)), QString());
        item->setSizeHint(QSize(64, 64));
        item->setData(Qt::UserRole, entry.index);
        m_paletteList->addItem(item);
    }
    auto *wdgSlider = new QWidget(m_pagingGroup);
    wdgSlider->setObjectName("wdg_slider");
    auto *paging = new QGridLayout(m_pagingGroup);
    paging->addWidget(m_prev, 0, 0);
    paging->addWidget(m_pageText, 0, 1, Qt::AlignCenter);
    paging->addWidget(m_next, 0, 2);
    paging->addWidget(m_paletteList, 1, 0, 1, 3);
    paging->addWidget(wdgSlider, 2, 0, 1, 3);

    m_view = new QGraphicsPaint(this);
    m_view->setObjectName("graphicsView");
    m_view->setFrameStyle(QFrame::NoFrame);

    m_infoGroup = new QGroupBox(this);
    m_infoGroup->setObjectName("groupBox");
    m_tabs = new QTabWidget(m_infoGroup);
    m_tabs->setObjectName("tabWidget");
    auto *tab = new QWidget;
    tab->setObjectName("tab");
    auto *fields = new QGroupBox(tab);
    fields->setObjectName("groupBox_4");
    auto *grid = new QGridLayout(fields);
    int row = 0;
    auto *applyToAll = new QPushButton(fields);
    applyToAll->setObjectName("btn_applyParametersToAll");
    applyToAll->setStyleSheet("QPushButton{color:#08A4FF;text-align:left;}QPushButton:disabled{color:rgba(255,255,255,0.3);}");
    for (int i = 0; i < int(std::size(kInfoRows)); ++i) {
        if (i == kEnvironmentRows)
            grid->addWidget(applyToAll, row++, 0, 1, 2);
        if (i == 0 || i == kEnvironmentRows) {
            auto *heading = new QLabel(fields);
            heading->setStyleSheet("color:#ffffff;font-weight:500;");
            m_headings << heading;
            grid->addWidget(heading, row++, 0, 1, 2);
        }
        auto *caption = new QLabel(fields);
        auto *edit = new QLineEdit(fields);
        edit->setObjectName(kInfoRows[i].edit);
        edit->setReadOnly(true);
        m_infoLabels << caption;
        m_infoEdits << edit;
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row++, 1);
    }
    // Emissivity, distance, humidity and reflected temperature, the first four rows.
    m_cameraEditor = new CameraParameterEditor(m_infoEdits.mid(0, 4), applyToAll, this);
    connect(m_cameraEditor, &CameraParameterEditor::photographReconverted, this, [this](const QString &path) {
        if (path == currentPhotoPath() && m_shownIndex >= 0)
            refreshShownPhoto();
        else
            remeasure(path);
        emit sig_photographChanged(path);
    });
    auto *tabLayout = new QVBoxLayout(tab);
    tabLayout->addWidget(fields);
    m_tabs->addTab(tab, QString());
    m_tabs->setCurrentIndex(0);
    auto *infoLayout = new QVBoxLayout(m_infoGroup);
    infoLayout->addWidget(m_tabs);

    m_itemGroup = new QGroupBox(this);
    m_itemGroup->setObjectName("groupBox_item");
    auto *scroll = new FittingScrollArea(m_itemGroup);
    scroll->setObjectName("scrollArea");
    auto *contents = new QWidget;
    contents->setObjectName("scrollAreaWidgetContents");
    m_itemLayout = new QVBoxLayout(contents);
    m_itemLayout->setObjectName("verticalLayout");
    m_placeholder = new QLabel(contents);
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_itemLayout->addWidget(m_placeholder);
    m_itemSpacer = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
    scroll->setWidget(contents);
    auto *itemGroupLayout = new QVBoxLayout(m_itemGroup);
    itemGroupLayout->addWidget(scroll);

    m_infoGroup->setMinimumWidth(440);
    auto *right = new QVBoxLayout;
    right->addWidget(m_infoGroup, 3);
    right->addWidget(m_itemGroup, 2);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_pagingGroup);
    layout->addLayout(buildDisplay(), 1);
    layout->addLayout(right);
}

void SettingPage::setupView(int minSide, int maxWidth)
{
    const ScreenLayout &layout = shellValues().layout;
    m_view->setMinimumSize(minSide, minSide);
    m_view->setMaximumSize(maxWidth, layout.viewHeight);
    // The view asks for its size through its size hint, so a quarter turn can narrow it.
    m_view->createScene(layout.viewWidth, layout.viewHeight);
    connect(m_view->measurementScene(), &MyGraphicsScene::sig_colouringChanged, this, &SettingPage::showColourScale);
    connect(m_view->measurementScene(), &MyGraphicsScene::sig_layoutEdited, m_history, &LayoutHistory::commit);
    m_view->resize(layout.viewWidth, layout.viewHeight);
}

void SettingPage::retranslate()
{
    m_itemGroup->setTitle(tr(" 标记测温列表"));
    m_tabs->setTabText(0, tr("基本参数"));
    m_headings[0]->setText(tr("环境信息"));
    m_headings[1]->setText(tr("图像信息"));
    for (int i = 0; i < m_infoLabels.size(); ++i)
        m_infoLabels[i]->setText(tr(kInfoRows[i].caption));
    m_cameraEditor->retranslate();
    for (int i = 0; i < m_paletteList->count(); ++i)
        m_paletteList->item(i)->setData(kNameRole, tr(kPaletteList[i].name));
    m_placeholder->setText(tr("暂无数据~"));
    for (const auto &[action, text] : m_keyActions) {
        // After a tab the menu shows every key of the command, not only the first.
        QStringList keys;
        for (const QKeySequence &key : action->shortcuts())
            keys << key.toString(QKeySequence::NativeText);
        action->setText(tr(text) + '\t' + keys.join(", "));
    }
    if (m_count > 0) {
        showPageText();
        fillInformation();
    }
    for (MyItemTemp *row : itemRowTables().value(currentPhotoPath()))
        row->retranslate();
    m_view->rebuildMenu();
    m_renderingControls->retranslate();
    showColourScale();
}

void SettingPage::slot_selectImg(QStringList imgList, int index)
{
    if (photoPageOpen() || index < 0 || index >= imgList.size())
        return;
    photoPageOpen() = true;
    waitForLoad(); // a cancelled job of an earlier list
    loadedPhotoPaths() = imgList;
    m_loadList = imgList;
    m_cameraEditor->setList(imgList);
    m_index = index;
    m_count = imgList.size();
    m_shownIndex = -1;
    // Saved layouts come back before any record: a paste onto a photograph still loading
    // replaces what it had, and undoing it brings that back.
    for (const QString &path : imgList)
        m_history->restore(path);
    currentPhotoPath() = imgList[index];
    m_cancel = false;
    m_wanted = -1;
    m_load = QtConcurrent::run([this, imgList, index] { return loadJob(imgList, index); });
    QTimer::singleShot(200, this, &SettingPage::showCurrent);
}

void SettingPage::markArea(const QString &path, const QRect &pixels)
{
    Layout layout = layoutOf(path);
    Measurement mark;
    mark.kind = KindRect;
    mark.points = {QPointF(pixels.topLeft()), QPointF(pixels.x() + pixels.width(), pixels.y() + pixels.height())};
    // An anomaly opened again keeps the one rectangle it has.
    for (const Measurement &m : layout) {
        mark.name = m.name;
        if (m.sameAs(mark))
            return;
    }
    mark.name = nextName(layout, KindRect);
    layout.append(mark);
    m_history->change(path, layout);
}

int SettingPage::loadJob(const QStringList &list, int first)
{
    const int n = list.size();
    std::vector<char> done(std::size_t(n), 0);
    auto load = [&](int i) {
        if (i < 0 || i >= n || done[std::size_t(i)] || m_cancel)
            return;
        done[std::size_t(i)] = 1;
        PhotoStore::program().load(list[i]);
        const QString path = list[i];
        QMetaObject::invokeMethod(this, [this, path] { remeasure(path); }, Qt::QueuedConnection);
    };
    // The chosen photograph, then its neighbours by distance; a photograph the user pages to
    // goes before the rest.
    auto next = [&](int i) {
        load(m_wanted.exchange(-1));
        load(i);
    };
    next(first);
    for (int d = 1; d <= std::max(first, n - first) && !m_cancel; ++d) {
        next(first - d);
        next(first + d);
    }
    return 0;
}

void SettingPage::remeasure(const QString &path)
{
    // A record that arrived (or came again) after its measurements were placed or pasted.
    for (const ItemPtr &item : itemTables().value(path))
        item->computeStatistics(item->pos(), path);
    if (path == currentPhotoPath() && m_shownIndex >= 0)
        m_view->refreshItemStats();
}

void SettingPage::cancelLoad()
{
    m_cancel = true;
    m_cameraEditor->cancel();
    photoPageOpen() = false;
}

void SettingPage::waitForLoad()
{
    m_load.waitForFinished();
    m_cameraEditor->waitForApply();
}

void SettingPage::showCurrent()
{
    if (!photoPageOpen() || m_count == 0)
        return;
    // Only a complete record is shown: the job writes each record in one locked step. Until
    // it is there the photograph on show stays, and the window keeps answering.
    const QString path = m_loadList[m_index];
    if (!PhotoStore::program().contains(path)) {
        m_wanted = m_index;
        if (!m_waiting) {
            m_waiting = true;
            QTimer::singleShot(50, this, [this] {
                m_waiting = false;
                showCurrent();
            });
        }
        return;
    }
    const bool first = m_shownIndex < 0;
    if (!first) {
        emit sig_click_pre_next();
        on_saveBmpClicked(); // the photograph left keeps a snapshot of how it was shown
        m_history->saver()->flush(currentPhotoPath());
    }
    m_shownIndex = m_index;
    currentPhotoPath() = path;
    keepNearPhotos();
    currentPhotoRecord() = PhotoStore::program().snapshot(path);
    m_view->showPhoto(path);
    m_history->show(path);
    showRendering();
    showPageText();
    rebuildItemList();
    fillInformation();
    selectPaletteEntry();
    // The slider follows the photograph's temperature span (whole degrees).
    m_slider->setRange(int(currentPhotoRecord().stats.min), int(currentPhotoRecord().stats.max));
    updateAlarmButtons();
    m_view->viewport()->update();
    if (first)
        emit sig_showSettingPage();
    reportSidecarError(path);
}

void SettingPage::changePhoto(int index)
{
    if (m_count == 0 || index < 0 || index >= m_count || index == m_index)
        return;
    m_index = index;
    showPageText();
    showCurrent();
}

void SettingPage::on_btn_prevImg_clicked()
{
    changePhoto(m_index - 1);
}

void SettingPage::on_btn_nextImg_clicked()
{
    changePhoto(m_index + 1);
}

void SettingPage::showPageText()
{
    m_pageText->setText(QString("%0/%1").arg(m_index + 1).arg(m_count));
    const bool first = m_index == 0, last = m_index == m_count - 1;
    m_prev->setEnabled(!first);
    m_prev->setIcon(QIcon(first ? ":/res/icon/pageup-unenable.svg" : ":/res/icon/pageup-enable.svg"));
    m_next->setEnabled(!last);
    m_next->setIcon(QIcon(last ? ":/res/icon/pagedown-unenable.svg" : ":/res/icon/pagedown-enable.svg"));
}

void SettingPage::fillInformation()
{
    const QStringList &texts = currentPhotoRecord().texts;
    for (int i = 0; i < m_infoEdits.size(); ++i) {
        QString text = texts.value(kInfoRows[i].text);
        if (kInfoRows[i].text == TextGainMode)
            text = tr(text.toUtf8().constData());
        m_infoEdits[i]->setText(text.contains("NA") ? QString("NA") : text);
        m_infoEdits[i]->setCursorPosition(0); // long texts show their beginning
    }
    m_cameraEditor->showPhoto(currentPhotoRecord());
}

void SettingPage::selectPaletteEntry()
{
    // No palette is shown over the alarm's colours or the camera's own picture: none is marked.
    const PhotoRecord &record = currentPhotoRecord();
    if (record.paletteIndex == -1 && (record.alarmMode != -1 || !showsTemperatures(record))) {
        m_paletteList->setCurrentItem(nullptr);
        return;
    }
    const int palette = shownPalette(currentPhotoRecord());
    for (int i = 0; i < m_paletteList->count(); ++i) {
        if (m_paletteList->item(i)->data(Qt::UserRole).toInt() == palette)
            m_paletteList->setCurrentRow(i);
    }
}

void SettingPage::updateAlarmButtons()
{
    emit sig_updateBtnStatus(9, currentPhotoRecord().alarmMode == 0);
    emit sig_updateBtnStatus(10, currentPhotoRecord().alarmMode == 1);
}

void SettingPage::on_listWidget_itemClicked(QListWidgetItem *item)
{
    m_view->setPalette(item->data(Qt::UserRole).toInt());
    PhotoStore::program().saveSettings(currentPhotoPath()); // the palette is kept beside the photograph
    reportSidecarError(currentPhotoPath());
}

void SettingPage::slot_updateItemTemp(QString name, float max, float min, float avg)
{
    QMap<QString, MyItemTemp *> &rows = itemRowTables()[currentPhotoPath()];
    if (MyItemTemp *row = rows.value(name)) {
        row->setValues(max, min, avg);
        return;
    }
    auto *row = new MyItemTemp;
    row->setName(name);
    row->setValues(max, min, avg);
    rows.insert(name, row);
    m_itemLayout->removeItem(m_itemSpacer);
    m_placeholder->hide();
    m_itemLayout->insertWidget(0, row);
    m_itemLayout->addItem(m_itemSpacer);
}

void SettingPage::slot_deleteItem(QString name)
{
    QMap<QString, MyItemTemp *> &rows = itemRowTables()[currentPhotoPath()];
    MyItemTemp *row = rows.take(name);
    if (!row)
        return;
    m_itemLayout->removeWidget(row);
    row->deleteLater();
    if (rows.isEmpty()) {
        m_itemLayout->removeItem(m_itemSpacer);
        m_placeholder->show();
    }
}

void SettingPage::rebuildItemList()
{
    // Rows of other photographs stay in their tables, detached from the list.
    for (int i = m_itemLayout->count() - 1; i >= 0; --i) {
        if (auto *row = qobject_cast<MyItemTemp *>(m_itemLayout->itemAt(i)->widget())) {
            m_itemLayout->removeWidget(row);
            // Hidden first: a show the layout still has queued for a new row would otherwise
            // open the detached row as a window of its own.
            row->hide();
            row->setParent(nullptr);
        }
    }
    m_itemLayout->removeItem(m_itemSpacer);
    m_placeholder->hide();
    const QMap<QString, MyItemTemp *> &rows = itemRowTables()[currentPhotoPath()];
    for (MyItemTemp *row : rows) {
        m_itemLayout->addWidget(row);
        row->show();
    }
    if (rows.isEmpty())
        m_placeholder->show();
    else
        m_itemLayout->addItem(m_itemSpacer);
}

void SettingPage::toggleAlarm(int mode)
{
    if (!PhotoStore::program().contains(currentPhotoPath()))
        return;
    const int button = mode == 0 ? 9 : 10;
    if (currentPhotoRecord().alarmMode == mode) {
        m_view->setAlarm(-1, 0);
        emit sig_updateBtnStatus(button, false);
        return;
    }
    TempAlertDlg dialog(mode == 1 ? 1 : 0);
    if (execOver(dialog, this) != QDialog::Accepted)
        return;
    m_view->setAlarm(mode, dialog.threshold());
    selectPaletteEntry();
    emit sig_updateBtnStatus(9, mode == 0);
    emit sig_updateBtnStatus(10, mode == 1);
}

void SettingPage::on_buttonClick(int btnId)
{
    if (btnId == 9 || btnId == 10) {
        toggleAlarm(btnId == 9 ? 0 : 1);
    } else if (btnId == 16) {
        auto *heatMap = new My3DWdg;
        heatMap->setAttribute(Qt::WA_DeleteOnClose);
        heatMap->showOver(this);
    } else if (btnId == 7) {
        m_view->deleteSelected();
    } else if (btnId == 12) {
        const QColor colour = pickColour(m_view->drawColor(), this);
        if (colour.isValid())
            chooseColour(colour);
    }
}

void SettingPage::chooseColour(const QColor &colour)
{
    m_view->setDrawColor(colour);
    for (QGraphicsItem *selected : m_view->measurementScene()->selectedItems()) {
        if (auto *item = dynamic_cast<MyGraphicItem *>(selected)) {
            QPen pen = item->pen();
            pen.setColor(colour);
            item->setPen(pen);
        }
    }
    m_history->commit(m_view->measurementScene()->photoPath());
}

void SettingPage::on_drawButtonClick(int btnId)
{
    m_view->setDrawMode(btnId);
}

void SettingPage::on_rotateButtonClick(int btnId)
{
    if (btnId != 0)
        return;
    // The turned matrices are made when a measurement first reads them.
    m_view->rotateQuarterTurn();
    m_history->turned(currentPhotoPath());
}

void SettingPage::on_allTempClicked(bool checked)
{
    m_view->setWholeFrame(checked);
}

void SettingPage::saveCurrentState()
{
    on_saveBmpClicked();
}

void SettingPage::on_saveBmpClicked()
{
    if (m_view->measurementScene())
        saveSnapshot(m_view, currentPhotoPath(), shellValues().tempImageDir);
}

void SettingPage::on_setFontSize(int size)
{
    const int pixels = size == 6 ? 18 : size == 2 ? 13 : 16;
    const QString style = QString("font-size: %1px;").arg(pixels);
    for (QLabel *label : m_infoGroup->findChildren<QLabel *>())
        label->setStyleSheet(style);
    for (QLineEdit *edit : m_infoGroup->findChildren<QLineEdit *>())
        edit->setStyleSheet(style);
    for (QLabel *label : m_itemGroup->findChildren<QLabel *>())
        label->setStyleSheet(style);
    m_view->setSizeLevel(size);
}

void SettingPage::on_itemVisible(bool flag)
{
    m_view->setItemsVisible(flag);
}

void SettingPage::on_tabWidget_currentChanged(int index)
{
    if (index == 0 && m_count > 0)
        fillInformation();
}

bool SettingPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_paletteList->viewport() || watched == m_paletteList) {
        if (event->type() == QEvent::ToolTip) {
            const auto *help = static_cast<QHelpEvent *>(event);
            if (QListWidgetItem *item = m_paletteList->itemAt(help->pos())) {
                const QRect at = m_paletteList->visualItemRect(item);
                m_toolTip->setText(item->data(kNameRole).toString());
                // Just above the swatch the pointer is on.
                m_toolTip->setAnchor(m_paletteList->viewport()->mapToGlobal(at.topLeft()));
                m_toolTip->showAtAnchor();
            } else {
                m_toolTip->hide();
            }
            return true;
        }
        // The name goes with the pointer: it never stays behind over another page.
        if (event->type() == QEvent::HoverMove || event->type() == QEvent::Leave || event->type() == QEvent::Hide)
            m_toolTip->hide();
    }
    return QWidget::eventFilter(watched, event);
}

void SettingPage::refreshShownPhoto()
{
    // The photograph on show was converted again: everything read from its matrix follows.
    const QString path = currentPhotoPath();
    currentPhotoRecord() = PhotoStore::program().snapshot(path);
    m_view->showPhoto(path);
    remeasure(path);
    fillInformation();
    m_slider->setRange(int(currentPhotoRecord().stats.min), int(currentPhotoRecord().stats.max));
    m_view->viewport()->update();
}

void SettingPage::reportSidecarError(const QString &path)
{
    // Said once, when the photograph is shown; it opened all the same.
    QString error;
    const bool known = PhotoStore::program().update(path, [&error](PhotoRecord &record) {
        error = record.sidecarError;
        record.sidecarError.clear();
    });
    if (!known)
        return;
    const QString layoutMessage = m_history->takeMessage(path);
    if (!layoutMessage.isEmpty())
        error += (error.isEmpty() ? QString() : QStringLiteral("\n")) + layoutMessage;
    if (error.isEmpty())
        return;
    QTimer::singleShot(0, this, [this, error] {
        MyMsgBoxDlg box(tr("提示"), QPixmap(":/res/icon/warning.svg"), error, MyMsgBoxDlg::ConfirmOnly, this);
        box.exec();
    });
}

QLayout *SettingPage::buildDisplay()
{
    // The picture with its colour scale right beside it, the rendering's controls below.
    m_scale = new ColourScaleBar(this);
    m_renderingControls = new RenderingControls(this);
    auto *picture = new QHBoxLayout;
    picture->setSpacing(8);
    picture->addStretch(1);
    picture->addWidget(m_view, 0, Qt::AlignCenter);
    picture->addWidget(m_scale);
    picture->addStretch(1);
    auto *column = new QVBoxLayout;
    column->addStretch(1);
    column->addLayout(picture);
    column->addWidget(m_renderingControls, 0, Qt::AlignHCenter);
    column->addStretch(1);
    connect(m_scale, &ColourScaleBar::sig_spanDragged, this,
            [this](float low, float high) { chooseSpan({false, low, high}, false); });
    connect(m_scale, &ColourScaleBar::sig_dragFinished, this, &SettingPage::keepDisplaySettings);
    connect(m_renderingControls, &RenderingControls::sig_renderingChosen, this, &SettingPage::chooseRendering);
    connect(m_renderingControls, &RenderingControls::sig_spanChosen, this,
            [this](const TemperatureSpan &span) { chooseSpan(span, true); });
    connect(m_renderingControls, &RenderingControls::sig_sameSpanToggled, this, &SettingPage::shareSpan);
    return column;
}

void SettingPage::showColourScale()
{
    const PhotoRecord record = PhotoStore::program().snapshot(currentPhotoPath());
    const TemperatureScale scale = temperatureScale(record);
    const bool draggable = showsTemperatures(record);
    const MyGraphicsScene *scene = m_view->measurementScene();
    m_scale->setScale(scene ? scene->palettes().value(shownPalette(record)) : Palette(), scale, draggable);
    m_scale->setToolTip(!scale.known ? tr("此照片没有温度数据。")
                        : draggable  ? tr("拖动色标两端可设置温度范围。")
                                     : tr("嵌入图像的颜色大致对应照片的最低至最高温度。"));
    m_renderingControls->showState(record, scale, m_shareSpan);
}

void SettingPage::showRendering()
{
    // A photograph paged to while the span is shared is drawn from its temperatures over it.
    const PhotoRecord record = PhotoStore::program().snapshot(currentPhotoPath());
    if (m_shareSpan && canRenderTemperatures(record)
        && (record.rendering != Rendering::Temperatures || record.span != m_sharedSpan)) {
        m_view->measurementScene()->setRendering(Rendering::Temperatures);
        m_view->measurementScene()->setSpan(m_sharedSpan);
        keepDisplaySettings();
    }
    showColourScale();
}

void SettingPage::chooseRendering(Rendering rendering)
{
    if (m_view->measurementScene()->setRendering(rendering)) {
        if (rendering == Rendering::Embedded)
            m_shareSpan = false; // a shared span is one of temperatures
        keepDisplaySettings();
    }
    showColourScale();
}

void SettingPage::chooseSpan(const TemperatureSpan &span, bool keep)
{
    m_view->measurementScene()->setSpan(span);
    if (m_shareSpan)
        m_sharedSpan = span;
    showColourScale();
    if (keep)
        keepDisplaySettings();
}

void SettingPage::shareSpan(bool on)
{
    m_shareSpan = on;
    if (on) {
        // The span on show, as it stands, becomes every photograph's.
        const TemperatureScale scale = temperatureScale(PhotoStore::program().snapshot(currentPhotoPath()));
        m_sharedSpan = {false, scale.low, scale.high};
        m_view->measurementScene()->setSpan(m_sharedSpan);
        keepDisplaySettings();
    }
    showColourScale();
}

void SettingPage::keepDisplaySettings()
{
    // Rendering and span are kept beside the photograph with its other settings.
    PhotoStore::program().saveSettings(currentPhotoPath());
    reportSidecarError(currentPhotoPath());
}

void SettingPage::addKeyAction(const char *text, const QList<QKeySequence> &keys, const std::function<void()> &run)
{
    auto *action = new QAction(this);
    action->setShortcuts(keys);
    // Only while the page is on show in the active window; a line edit with the keyboard
    // keeps the keys it edits with.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, run);
    addAction(action);
    m_keyActions.append({action, text});
}

void SettingPage::buildKeyActions()
{
    addKeyAction(QT_TR_NOOP("删除所选测温"), {Qt::Key_Delete}, [this] { on_buttonClick(7); });
    addKeyAction(QT_TR_NOOP("上一张"), {Qt::Key_Left, Qt::Key_PageUp}, [this] { on_btn_prevImg_clicked(); });
    addKeyAction(QT_TR_NOOP("下一张"), {Qt::Key_Right, Qt::Key_PageDown}, [this] { on_btn_nextImg_clicked(); });
    addKeyAction(QT_TR_NOOP("第一张"), {Qt::Key_Home}, [this] { changePhoto(0); });
    addKeyAction(QT_TR_NOOP("最后一张"), {Qt::Key_End}, [this] { changePhoto(m_count - 1); });
    addKeyAction(QT_TR_NOOP("复制测温布局"), {QKeySequence(Qt::CTRL | Qt::Key_C)}, [this] { m_view->slot_copyItem(); });
    addKeyAction(QT_TR_NOOP("粘贴测温布局"), {QKeySequence(Qt::CTRL | Qt::Key_V)}, [this] { m_view->slot_pasteToCurr(); });
    addKeyAction(QT_TR_NOOP("粘贴测温布局至全部照片"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
                 [this] { m_view->slot_pasteToAll(); });
    addKeyAction(QT_TR_NOOP("取消正在绘制的图形"), {Qt::Key_Escape},
                 [this] { m_view->measurementScene()->cancelDrawing(); });
    addKeyAction(QT_TR_NOOP("保存"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { on_saveBmpClicked(); });
    addKeyAction(QT_TR_NOOP("放大"), {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                 [this] { m_view->zoomIn(); });
    addKeyAction(QT_TR_NOOP("缩小"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { m_view->zoomOut(); });
    addKeyAction(QT_TR_NOOP("适合窗口"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { m_view->fitToView(); });
    addKeyAction(QT_TR_NOOP("所选矩形设为热点参考"), {QKeySequence(Qt::CTRL | Qt::Key_R)},
                 [this] { tell(markHotSpotReference(true)); });
    addKeyAction(QT_TR_NOOP("清除热点参考"), {}, [this] { tell(markHotSpotReference(false)); });
}

QString SettingPage::markHotSpotReference(bool mark)
{
    const QString path = currentPhotoPath();
    const MyGraphicsScene *scene = m_view->measurementScene();
    std::optional<QRect> area;
    for (QGraphicsItem *selected : mark ? scene->selectedItems() : QList<QGraphicsItem *>()) {
        const auto *item = dynamic_cast<const MyGraphicItem *>(selected);
        if (!item || item->kind() != KindRect || item->isCreating())
            continue;
        // The pixels the rectangle covers, on the unturned photograph: its corners lie on pixel
        // edges, up to the rounding of the scene's mapping.
        const Measurement m = measurementOf(*item, mappingFor(path, scene->imageRect()));
        const QRectF r = QRectF(m.points.value(0), m.points.value(1)).normalized();
        area = QRect(QPoint(qRound(r.left()), qRound(r.top())), QPoint(qRound(r.right()) - 1, qRound(r.bottom()) - 1));
        break;
    }
    if (mark && (!area || area->isEmpty()))
        return tr("请先选择一个矩形。");
    QString error;
    if (!writeSidecarHotSpotReference(path, area, &error))
        return error;
    emit sig_photographChanged(path);
    return mark ? tr("此照片的热点查找将以所选矩形内的中位温度为参考。")
                : tr("此照片的热点查找将以整幅图像的中位温度为参考。");
}

void SettingPage::tell(const QString &message)
{
    MyMsgBoxDlg box(tr("提示"), QPixmap(":/res/icon/warning.svg"), message, MyMsgBoxDlg::ConfirmOnly);
    box.exec();
}

QList<QAction *> SettingPage::keyActions() const
{
    QList<QAction *> actions;
    for (const auto &entry : m_keyActions)
        actions << entry.first;
    return actions;
}

void SettingPage::buildLayoutHistory()
{
    m_history = new LayoutHistory(m_view, this);
    connect(m_view, &QGraphicsPaint::sig_layoutEdited, m_history, &LayoutHistory::commit);
    connect(m_history, &LayoutHistory::sig_applied, this, [this](const QString &path) {
        if (path != currentPhotoPath() || m_shownIndex < 0)
            return;
        m_view->refreshItemStats();
        rebuildItemList();
    });
    QAction *undo = m_history->group()->createUndoAction(this);
    undo->setShortcuts({QKeySequence::Undo});
    QAction *redo = m_history->group()->createRedoAction(this);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction *action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut); // while the page is on show
        addAction(action);
    }
}

void SettingPage::keepNearPhotos()
{
    // Their matrices are the last to go when memory runs short: paging to a neighbour, or
    // moving a measurement, then reads no file.
    QSet<QString> kept;
    for (int i = std::max(0, m_index - 1); i <= std::min(m_count - 1, m_index + 1); ++i)
        kept.insert(m_loadList[i]);
    for (auto it = itemTables().cbegin(); it != itemTables().cend(); ++it) {
        if (!it->isEmpty())
            kept.insert(it.key());
    }
    PhotoStore::program().setKeptPhotos(kept);
}
