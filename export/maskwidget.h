#pragma once

#include <QDialog>
#include <QStringList>

// The translucent layer that dims the main window while one of the named dialogs is shown.
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

private:
    MaskWidget();
    QStringList m_names;
};
