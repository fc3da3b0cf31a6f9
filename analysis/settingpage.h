#pragma once

#include "photorecord.h"

#include <QFuture>
#include <QKeySequence>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include <atomic>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpacerItem;
class QTabWidget;
class QVBoxLayout;
class CameraParameterEditor;
class ColourScaleBar;
class QLayout;
class RenderingControls;
class MyItemTemp;
class MyToolTip;
class QGraphicsPaint;
class RangeSlider;
class LayoutHistory;

// The analysis page: one photograph of the opened list at a time in the image view, with
// paging, the palette list, the information panel and the measured-temperature list.
class SettingPage : public QWidget
{
    Q_OBJECT
public:
    explicit SettingPage(QWidget *parent = nullptr);
    ~SettingPage() override;

    void setupView(int minSide, int maxWidth);
    void cancelLoad();
    void saveCurrentState();
    void retranslate();

    QGraphicsPaint *view() const { return m_view; }
    RangeSlider *rangeSlider() const { return m_slider; }
    int currentIndex() const { return m_index; }
    // The measurement layouts: their undo stacks and their writing into the sidecars.
    LayoutHistory *layoutHistory() const { return m_history; }
    // The page's keyboard commands, active while it is on show; the shell lists them in its
    // "more" menu.
    QList<QAction *> keyActions() const;
    // Waits until the load job of the open list has finished (tests, shutdown).
    void waitForLoad();

signals:
    void sig_showSettingPage();
    void sig_drawOver();
    void sig_updateBtnStatus(int btnId, bool pushed);
    void sig_click_pre_next();
    // A photograph's temperatures or hot-spot reference changed (camera parameters corrected,
    // also by "apply to all", or a reference marked): what was found in it before is out of date.
    void sig_photographChanged(const QString &path);

public slots:
    void slot_selectImg(QStringList imgList, int index);
    // Marks pixels of an opened photograph with a new rectangle measurement (one undoable
    // step), as the hot-spot finder marks an anomaly.
    void markArea(const QString &path, const QRect &pixels);
    // Marks the pixels of the selected rectangle as the hot-spot finder's reference of the
    // photograph on show (in its sidecar), or removes the mark; what to tell the user.
    QString markHotSpotReference(bool mark);
    void on_buttonClick(int btnId);
    void on_drawButtonClick(int btnId);
    void on_rotateButtonClick(int btnId);
    void on_allTempClicked(bool checked);
    void on_saveBmpClicked();
    void on_setFontSize(int size);
    // The colour of the shapes drawn next and of the selected ones (one step).
    void chooseColour(const QColor &colour);
    void on_itemVisible(bool flag);
    void on_listWidget_itemClicked(QListWidgetItem *item);
    void slot_updateItemTemp(QString name, float max, float min, float avg);
    void slot_deleteItem(QString name);
    void on_btn_prevImg_clicked();
    void on_btn_nextImg_clicked();
    void on_tabWidget_currentChanged(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int loadJob(const QStringList &list, int first);
    void remeasure(const QString &path);
    void showCurrent();
    void changePhoto(int index);
    void showPageText();
    void fillInformation();
    void selectPaletteEntry();
    void rebuildItemList();
    void updateAlarmButtons();
    void buildForm();
    void toggleAlarm(int mode);
    void refreshShownPhoto();
    void keepNearPhotos();
    void reportSidecarError(const QString &path);
    // The picture's colour scale and the controls of its rendering and span.
    QLayout *buildDisplay();
    void showColourScale();
    void showRendering();
    void chooseRendering(Rendering rendering);
    void chooseSpan(const TemperatureSpan &span, bool keep);
    void shareSpan(bool on);
    void keepDisplaySettings();
    void buildLayoutHistory();
    void buildKeyActions();
    void tell(const QString &message);
    void addKeyAction(const char *text, const QList<QKeySequence> &keys, const std::function<void()> &run);

    QGroupBox *m_pagingGroup;
    QLabel *m_pageText;
    QListWidget *m_paletteList;
    QPushButton *m_prev;
    QPushButton *m_next;
    QGraphicsPaint *m_view;
    QGroupBox *m_infoGroup;
    QTabWidget *m_tabs;
    QList<QLabel *> m_infoLabels;
    QList<QLineEdit *> m_infoEdits;
    CameraParameterEditor *m_cameraEditor = nullptr;
    QList<QLabel *> m_headings;
    QGroupBox *m_itemGroup;
    QVBoxLayout *m_itemLayout;
    QSpacerItem *m_itemSpacer;
    QLabel *m_placeholder;
    MyToolTip *m_toolTip;
    RangeSlider *m_slider;
    QVBoxLayout m_sliderLayout;
    ColourScaleBar *m_scale = nullptr;
    RenderingControls *m_renderingControls = nullptr;
    bool m_shareSpan = false;    // one span for every photograph shown, drawn from its temperatures
    TemperatureSpan m_sharedSpan;

    QFuture<int> m_load;
    std::atomic<bool> m_cancel{false};
    QStringList m_loadList;
    int m_index = 0;      // the photograph paged to
    int m_shownIndex = -1; // the photograph on show; -1 before the first is shown
    int m_count = 0;
    std::atomic<int> m_wanted{-1}; // a photograph the load job takes next
    bool m_waiting = false;
    LayoutHistory *m_history = nullptr;
    QList<QPair<QAction *, const char *>> m_keyActions; // with the source of its text
};
