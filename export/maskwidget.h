#pragma once

#include <QDialog>
#include <QPixmap>
#include <QStringList>

// The layer that dims the main window while one of the named dialogs is shown. It paints a
// picture of the window it covers, darkened: the same look with or without a compositing
// window manager (without one a translucent window would be plain black).
class MaskWidget : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QStringList names READ names WRITE setNames)
public:
    static MaskWidget &instance();

    void attachTo(QWidget *window);
    void setNames(const QStringList &names);
    QStringList names() const { return m_names; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    MaskWidget();
    void coverParent(); // the parent's size and screen position
    QStringList m_names;
    QPixmap m_beneath; // the covered window as it was when the mask came up
};
