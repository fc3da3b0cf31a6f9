#pragma once

#include "cameraparameters.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QStringList>

#include <atomic>

class QLineEdit;
class QPushButton;
struct PhotoRecord;

// Makes the information panel's emissivity, distance, humidity and reflected temperature
// fields editable on photographs converted through a calibration block: a typed value is
// checked against the engine's range, the photograph converted again and its settings saved.
// "Apply to all" sets the shown values on every calibrated photograph of the list in the
// background.
class CameraParameterEditor : public QObject
{
    Q_OBJECT
public:
    // The four edits in CameraField order; the button applies the shown values to the list.
    CameraParameterEditor(const QList<QLineEdit *> &edits, QPushButton *applyToAll, QWidget *messageParent);
    ~CameraParameterEditor() override;

    // Enables the fields for the photograph on show and marks corrected values.
    void showPhoto(const PhotoRecord &record);
    void retranslate();
    // Applies a typed value to the photograph on show; false, with the reason shown in a
    // message, when it is refused (nothing changes then).
    bool setValue(CameraField field, const QString &typed);
    // Sets correction on every calibrated photograph of paths (loading those not loaded yet),
    // on the thread pool; photographReconverted follows each.
    void applyToAll(const QStringList &paths, const CameraCorrection &correction);
    void cancel();
    void waitForApply();
    // The list "apply to all" works through.
    void setList(const QStringList &paths) { m_list = paths; }

    // A number typed with or without its unit ("95", "95%", "5.0m", "50%rh", "23.0℃").
    static bool parseTyped(const QString &typed, double &value);

signals:
    void photographReconverted(const QString &path);
    void applyFinished(int changed);

private:
    void commit(int field);
    void applyShownToAll();
    void showMessage(const QString &text);

    QList<QLineEdit *> m_edits;
    QPushButton *m_applyToAll;
    QWidget *m_messageParent;
    QString m_path;
    bool m_calibrated = false;
    CameraCorrection m_correction;
    QFuture<void> m_apply;
    std::atomic<bool> m_cancel{false};
    QStringList m_list;
};
