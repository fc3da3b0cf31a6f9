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
    ~MyItemTemp() override;

    void setName(const QString &name);
    QString name() const;
    void setValues(float max, float min, float avg);
    QStringList valueTexts() const; // maximum, minimum, average as shown
    void retranslate();

    // The text size of every row: those of photographs not on show, detached from the list,
    // and rows made later take it too.
    static void setTextPixels(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Rows of photographs not on show follow a language switch as well.
    void changeEvent(QEvent *event) override;

private:
    void applyTextPixels();

    QLabel *m_name;
    QLabel *m_maxCaption;
    QLabel *m_minCaption;
    QLabel *m_avgCaption;
    QLabel *m_max;
    QLabel *m_min;
    QLabel *m_avg;
};
