#pragma once

#include "photorecord.h"
#include "temperaturescale.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QRadioButton;

// The row under the analysis page's picture: how the photograph is drawn (embedded picture or
// temperatures), its span (automatic, or typed ends in the photograph's unit) and whether one
// span holds for every photograph. It shows a state and reports choices; the page applies them.
class RenderingControls : public QWidget
{
    Q_OBJECT
public:
    explicit RenderingControls(QWidget *parent = nullptr);

    // The photograph's rendering and span, the scale its colours stand for, and whether the
    // span is shared. Reports nothing.
    void showState(const PhotoRecord &record, const TemperatureScale &scale, bool sameSpan);
    void retranslate();

signals:
    void sig_renderingChosen(Rendering rendering);
    void sig_spanChosen(const TemperatureSpan &span); // °C
    void sig_sameSpanToggled(bool on);

private:
    void typedEnds();
    void refreshToolTips();

    QLabel *m_renderingCaption;
    QRadioButton *m_embedded;
    QRadioButton *m_temperatures;
    QButtonGroup *m_renderings;
    QCheckBox *m_automatic;
    QLabel *m_lowCaption;
    QDoubleSpinBox *m_low;
    QLabel *m_highCaption;
    QDoubleSpinBox *m_high;
    QCheckBox *m_sameSpan;
    TemperatureUnit m_unit = TemperatureUnit::Celsius;
    bool m_canRender = false;
    bool m_showsTemperatures = false;
};
