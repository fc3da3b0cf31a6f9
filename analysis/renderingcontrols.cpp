#include "renderingcontrols.h"

#include "temperaturerendering.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

#include <cmath>
#include <initializer_list>

namespace {

// °C: absolute zero, and beyond the hottest value a raw frame can hold (6553.5 K).
constexpr double kLowest = -273.15;
constexpr double kHighest = 6300.0;

double tenths(double value)
{
    return std::round(value * 10.0) / 10.0;
}

} // namespace

RenderingControls::RenderingControls(QWidget *parent)
    : QWidget(parent)
    , m_renderingCaption(new QLabel(this))
    , m_embedded(new QRadioButton(this))
    , m_temperatures(new QRadioButton(this))
    , m_renderings(new QButtonGroup(this))
    , m_automatic(new QCheckBox(this))
    , m_lowCaption(new QLabel(this))
    , m_low(new QDoubleSpinBox(this))
    , m_highCaption(new QLabel(this))
    , m_high(new QDoubleSpinBox(this))
    , m_sameSpan(new QCheckBox(this))
{
    setObjectName("renderingControls");
    // Indicators the dark page would swallow: outlined, filled with the accent colour when on.
    setStyleSheet("QWidget{background:transparent;}"
                  "QRadioButton::indicator,QCheckBox::indicator{width:14px;height:14px;"
                  "border:1px solid rgba(255,255,255,0.55);background:#333333;}"
                  "QRadioButton::indicator{border-radius:8px;}"
                  "QCheckBox::indicator{border-radius:3px;}"
                  "QRadioButton::indicator:checked,QCheckBox::indicator:checked{background:#08A4FF;border-color:#08A4FF;}"
                  "QRadioButton::indicator:disabled,QCheckBox::indicator:disabled{border-color:rgba(255,255,255,0.2);}"
                  "QRadioButton:disabled,QCheckBox:disabled,QLabel:disabled{color:rgba(255,255,255,0.3);}"
                  "QDoubleSpinBox{background:#333333;color:#ffffff;border:1px solid rgba(255,255,255,0.15);"
                  "border-radius:3px;padding:2px 4px;}"
                  "QDoubleSpinBox:disabled{color:rgba(255,255,255,0.3);}");
    m_embedded->setObjectName("radio_embedded");
    m_temperatures->setObjectName("radio_temperatures");
    m_automatic->setObjectName("check_automaticSpan");
    m_low->setObjectName("spin_spanLow");
    m_high->setObjectName("spin_spanHigh");
    m_sameSpan->setObjectName("check_sameSpan");
    m_renderings->addButton(m_embedded, int(Rendering::Embedded));
    m_renderings->addButton(m_temperatures, int(Rendering::Temperatures));
    for (QDoubleSpinBox *end : {m_low, m_high}) {
        end->setDecimals(1);
        end->setKeyboardTracking(false); // a typed end counts once it is complete
        end->setMinimumWidth(110);
    }
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 4);
    row->addWidget(m_renderingCaption);
    row->addWidget(m_embedded);
    row->addWidget(m_temperatures);
    row->addSpacing(24);
    row->addWidget(m_automatic);
    row->addWidget(m_lowCaption);
    row->addWidget(m_low);
    row->addWidget(m_highCaption);
    row->addWidget(m_high);
    row->addSpacing(24);
    row->addWidget(m_sameSpan);

    connect(m_renderings, &QButtonGroup::idClicked, this,
            [this](int id) { emit sig_renderingChosen(Rendering(id)); });
    connect(m_automatic, &QCheckBox::clicked, this, [this](bool automatic) {
        if (automatic)
            emit sig_spanChosen(TemperatureSpan());
        else
            typedEnds(); // the ends shown so far become the span
    });
    for (QDoubleSpinBox *end : {m_low, m_high})
        connect(end, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, &RenderingControls::typedEnds);
    connect(m_sameSpan, &QCheckBox::clicked, this, &RenderingControls::sig_sameSpanToggled);
    retranslate();
}

void RenderingControls::typedEnds()
{
    emit sig_spanChosen({false, float(toCelsius(m_low->value(), m_unit)), float(toCelsius(m_high->value(), m_unit))});
}

void RenderingControls::showState(const PhotoRecord &record, const TemperatureScale &scale, bool sameSpan)
{
    const QSignalBlocker blockers[] = {QSignalBlocker(m_embedded), QSignalBlocker(m_temperatures),
                                       QSignalBlocker(m_automatic), QSignalBlocker(m_low),
                                       QSignalBlocker(m_high),      QSignalBlocker(m_sameSpan)};
    m_unit = scale.unit;
    m_canRender = canRenderTemperatures(record);
    m_showsTemperatures = showsTemperatures(record);
    (m_showsTemperatures ? m_temperatures : m_embedded)->setChecked(true);
    m_temperatures->setEnabled(m_canRender);
    m_automatic->setChecked(record.span.automatic && !sameSpan);

    // The ends the colours stand for now, in the photograph's unit; each keeps a tenth from
    // the other.
    const QString unit = unitSymbol(m_unit);
    for (QDoubleSpinBox *end : {m_low, m_high}) {
        end->setSuffix(unit);
        end->setRange(tenths(fromCelsius(kLowest, m_unit)), tenths(fromCelsius(kHighest, m_unit)));
        end->setSpecialValueText(scale.known ? QString() : QStringLiteral("NA"));
    }
    m_low->setValue(scale.known ? tenths(fromCelsius(scale.low, m_unit)) : m_low->minimum());
    m_high->setValue(scale.known ? tenths(fromCelsius(scale.high, m_unit)) : m_high->minimum());
    if (scale.known) {
        m_low->setMaximum(m_high->value() - 0.1);
        m_high->setMinimum(m_low->value() + 0.1);
    }

    // The span only counts for the temperature rendering; a shared one is never automatic.
    m_automatic->setEnabled(m_showsTemperatures && !sameSpan);
    for (QWidget *end : std::initializer_list<QWidget *>{m_lowCaption, m_low, m_highCaption, m_high})
        end->setEnabled(m_showsTemperatures);
    m_sameSpan->setChecked(sameSpan);
    m_sameSpan->setEnabled(m_showsTemperatures || sameSpan);
    refreshToolTips();
}

void RenderingControls::retranslate()
{
    m_renderingCaption->setText(tr("渲染："));
    m_embedded->setText(tr("嵌入图像"));
    m_temperatures->setText(tr("温度"));
    m_automatic->setText(tr("自动范围"));
    m_lowCaption->setText(tr("最低："));
    m_highCaption->setText(tr("最高："));
    m_sameSpan->setText(tr("所有照片使用相同范围"));
    refreshToolTips();
}

void RenderingControls::refreshToolTips()
{
    m_embedded->setToolTip(tr("显示照片自带的图像。"));
    m_temperatures->setToolTip(m_canRender ? tr("按调色板在温度范围内显示照片的温度。")
                                           : tr("此照片没有温度数据，只能显示嵌入图像。"));
    const QString spanOnly = tr("温度范围只用于温度渲染。");
    m_automatic->setToolTip(m_showsTemperatures ? tr("范围为照片的最低至最高温度。") : spanOnly);
    const QString ends = m_showsTemperatures ? tr("输入范围两端，或拖动色标两端。") : spanOnly;
    m_low->setToolTip(ends);
    m_high->setToolTip(ends);
    m_sameSpan->setToolTip(m_showsTemperatures ? tr("翻页时保持同一温度范围，便于对比照片。") : spanOnly);
}
