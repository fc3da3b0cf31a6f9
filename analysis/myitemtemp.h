#pragma once

#include <QWidget>

class QLabel;

// One row of the measured-temperature list: an item's name with its maximum, minimum and
// average.
class MyItemTemp : public QWidget
{
    Q_OBJECT
public:
    explicit MyItemTemp(QWidget *parent = nullptr);

    void setName(const QString &name);
    QString name() const;
    void setValues(float max, float min, float avg);
    QStringList valueTexts() const; // maximum, minimum, average as shown
    void retranslate();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_name;
    QLabel *m_maxCaption;
    QLabel *m_minCaption;
    QLabel *m_avgCaption;
    QLabel *m_max;
    QLabel *m_min;
    QLabel *m_avg;
};
