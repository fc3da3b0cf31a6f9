#pragma once

#include <QWidget>

class QLabel;

// One entry of the title bar's "more" menu: icon, text and a check mark.
class MyActionWdg : public QWidget
{
    Q_OBJECT
public:
    MyActionWdg(const QString &iconPath, const QString &text, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;
    void setSelected(bool selected);
    bool isSelected() const;

signals:
    void sig_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *m_icon;
    QLabel *m_text;
    QLabel *m_selected;
};
