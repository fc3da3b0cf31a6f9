#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;

// One row of the export list: the snapshot's thumbnail, a check box and the name.
class MyCheckItemWidget : public QWidget
{
    Q_OBJECT
public:
    MyCheckItemWidget(const QPixmap &snapshot, const QString &name, QWidget *parent = nullptr);

    QString name() const;
    // Marks the row (its name in the accent colour) with a note shown as its tool tip.
    void setMark(const QString &note);
    QString mark() const;
    bool isChecked() const;
    void setChecked(bool checked);

signals:
    void sig_checkChange(int state);

private:
    QLabel *m_icon;
    QCheckBox *m_check;
    QLabel *m_text;
};
