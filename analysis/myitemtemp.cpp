#include "myitemtemp.h"

#include "screenlayout.h"
#include "temperaturematrix.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QSet>
#include <QStyleOption>

namespace {
int textPixelsOfRows = textPixelsForFontSize(4);

// Every row in being, to be resized together.
QSet<MyItemTemp *> &liveRows()
{
    static QSet<MyItemTemp *> rows;
    return rows;
}

QString shown(float value)
{
    return value == NA_TEMPERATURE ? QString("NA") : QString::number(value, 'f', 1) + QString::fromUtf8("℃");
}
}

MyItemTemp::MyItemTemp(QWidget *parent)
    : QWidget(parent)
    , m_name(new QLabel("TextLabel", this))
    , m_maxCaption(new QLabel(this))
    , m_minCaption(new QLabel(this))
    , m_avgCaption(new QLabel(this))
    , m_max(new QLabel(this))
    , m_min(new QLabel(this))
    , m_avg(new QLabel(this))
{
    setObjectName("MyItemTemp");
    liveRows().insert(this);
    applyTextPixels();
    for (QLabel *caption : {m_maxCaption, m_minCaption, m_avgCaption})
        caption->setStyleSheet("color:rgba(255, 255, 255, 0.55)");
    m_name->setObjectName("lab_name");
    m_max->setObjectName("lab_max");
    m_min->setObjectName("lab_min");
    m_avg->setObjectName("lab_avg");
    // One line an item, so that several fit in the list at once; each column as wide as its
    // text, the list making room for the widest row.
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 3, 8, 3);
    grid->setHorizontalSpacing(4);
    grid->addWidget(m_name, 0, 0);
    grid->addWidget(m_maxCaption, 0, 1);
    grid->addWidget(m_max, 0, 2);
    grid->addWidget(m_minCaption, 0, 3);
    grid->addWidget(m_min, 0, 4);
    grid->addWidget(m_avgCaption, 0, 5);
    grid->addWidget(m_avg, 0, 6);
    grid->setColumnStretch(6, 1);
    retranslate();
}

MyItemTemp::~MyItemTemp()
{
    liveRows().remove(this);
}

void MyItemTemp::setTextPixels(int pixels)
{
    textPixelsOfRows = pixels;
    for (MyItemTemp *row : liveRows()) {
        // A new style sheet is taken in by a polished widget only: one never polished would
        // keep the rules of its first sheet.
        row->ensurePolished();
        row->applyTextPixels();
    }
}

void MyItemTemp::applyTextPixels()
{
    setStyleSheet(QString("QWidget{background-color:#333333;color:#ffffff;font-family:Microsoft YaHei;font-size:%1px;"
                          "font-weight:400;}")
                      .arg(textPixelsOfRows));
}

void MyItemTemp::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void MyItemTemp::setName(const QString &name)
{
    m_name->setText(name);
}

QString MyItemTemp::name() const
{
    return m_name->text();
}

void MyItemTemp::setValues(float max, float min, float avg)
{
    m_max->setText(shown(max));
    m_min->setText(shown(min));
    m_avg->setText(shown(avg));
}

QStringList MyItemTemp::valueTexts() const
{
    return {m_max->text(), m_min->text(), m_avg->text()};
}

void MyItemTemp::retranslate()
{
    m_maxCaption->setText(tr("最大值："));
    m_minCaption->setText(tr("最小值："));
    m_avgCaption->setText(tr("平均值："));
}

void MyItemTemp::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
