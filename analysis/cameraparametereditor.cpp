#include "cameraparametereditor.h"

#include "mymsgboxdlg.h"
#include "photorecord.h"
#include "photostore.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtConcurrent>

namespace {

constexpr CameraField kFields[] = {CameraField::Emissivity, CameraField::Distance, CameraField::Humidity,
                                   CameraField::Reflected};

std::optional<double> &fieldOf(CameraCorrection &c, CameraField field)
{
    switch (field) {
    case CameraField::Emissivity:
        return c.emissivity;
    case CameraField::Distance:
        return c.distance;
    case CameraField::Humidity:
        return c.humidity;
    case CameraField::Reflected:
        break;
    }
    return c.reflected;
}

} // namespace

CameraParameterEditor::CameraParameterEditor(const QList<QLineEdit *> &edits, QPushButton *applyToAll,
                                             QWidget *messageParent)
    : QObject(messageParent), m_edits(edits), m_applyToAll(applyToAll), m_messageParent(messageParent)
{
    for (int i = 0; i < m_edits.size(); ++i)
        connect(m_edits[i], &QLineEdit::editingFinished, this, [this, i] { commit(i); });
    connect(m_applyToAll, &QPushButton::clicked, this, &CameraParameterEditor::applyShownToAll);
    retranslate();
}

CameraParameterEditor::~CameraParameterEditor()
{
    cancel();
    waitForApply();
}

void CameraParameterEditor::showPhoto(const PhotoRecord &record)
{
    m_path = record.path;
    m_calibrated = record.calibrated && record.hasTemperature;
    m_correction = record.correction;
    m_applyToAll->setEnabled(m_calibrated);
    retranslate();
}

void CameraParameterEditor::retranslate()
{
    m_applyToAll->setText(tr("应用到列表中的所有照片"));
    for (int i = 0; i < m_edits.size(); ++i) {
        QLineEdit *edit = m_edits[i];
        const bool corrected = bool(fieldOf(m_correction, kFields[i]));
        edit->setReadOnly(!m_calibrated);
        // Corrected values stand out, so nobody takes them for the camera's own.
        edit->setStyleSheet(corrected && m_calibrated ? "color:#08A4FF;" : QString());
        if (!m_calibrated)
            edit->setToolTip(tr("此照片直接存储温度（或没有温度），这些参数不能修正。"));
        else if (corrected)
            edit->setToolTip(tr("已修正的值（照片文件未改动）。输入新值后按回车重新计算温度。"));
        else
            edit->setToolTip(tr("输入新值后按回车，温度将按此参数重新计算。"));
    }
    m_applyToAll->setToolTip(m_calibrated ? tr("把这四个参数设置到列表中每张需要标定转换的照片上。")
                                          : tr("此照片直接存储温度（或没有温度），这些参数不能修正。"));
}

bool CameraParameterEditor::parseTyped(const QString &typed, double &value)
{
    // The number first; a unit after it may stay as shown.
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+))\\s*"
                                                          "(?:%rh|%|m|℃|°C|C)?\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = number.match(typed);
    if (!m.hasMatch())
        return false;
    bool ok = false;
    value = m.captured(1).replace(',', '.').toDouble(&ok);
    return ok;
}

bool CameraParameterEditor::setValue(CameraField field, const QString &typed)
{
    if (!m_calibrated)
        return false;
    double value = 0;
    if (!parseTyped(typed, value)) {
        showMessage(tr("“%1”不是数字。").arg(typed));
        return false;
    }
    CameraCorrection correction = m_correction;
    fieldOf(correction, field) = value;
    QString error;
    if (!PhotoStore::program().correctCamera(m_path, correction, &error)) {
        showMessage(error);
        return false;
    }
    const PhotoRecord record = PhotoStore::program().snapshot(m_path);
    if (!record.sidecarError.isEmpty())
        showMessage(record.sidecarError);
    showPhoto(record);
    emit photographReconverted(m_path);
    return true;
}

void CameraParameterEditor::commit(int index)
{
    QLineEdit *edit = m_edits[index];
    if (edit->isReadOnly() || !edit->isModified())
        return;
    edit->setModified(false);
    const QString shown = PhotoStore::program().snapshot(m_path).texts.value(
        index == 0 ? TextEmissivity : index == 1 ? TextDistance : index == 2 ? TextHumidity : TextReflectedTemp);
    if (!setValue(kFields[index], edit->text())) {
        edit->setText(shown); // refused: the value in use stays
        edit->setCursorPosition(0);
    }
}

void CameraParameterEditor::applyShownToAll()
{
    if (!m_calibrated)
        return;
    // The values in use on the photograph on show: its corrections, or the block's own values
    // read back from the texts the engine's conversion shows.
    const PhotoRecord record = PhotoStore::program().snapshot(m_path);
    CameraCorrection all;
    const DisplayText texts[] = {TextEmissivity, TextDistance, TextHumidity, TextReflectedTemp};
    for (int i = 0; i < 4; ++i) {
        double value = 0;
        if (parseTyped(record.texts.value(texts[i]), value) && cameraRangeError(kFields[i], value).isEmpty())
            fieldOf(all, kFields[i]) = value;
    }
    applyToAll(m_list, all);
}

void CameraParameterEditor::applyToAll(const QStringList &paths, const CameraCorrection &correction)
{
    cancel();
    waitForApply();
    m_cancel = false;
    m_applyToAll->setEnabled(false);
    m_apply = QtConcurrent::run([this, paths, correction] {
        int changed = 0;
        for (const QString &path : paths) {
            if (m_cancel)
                break;
            PhotoRecord record;
            // Its settings alone: a matrix the budget dropped is not read only to be replaced.
            if (!PhotoStore::program().summary(path, record)) {
                PhotoStore::program().load(path);
                PhotoStore::program().summary(path, record);
            }
            if (!record.calibrated || record.correction.overlaidWith(correction) == record.correction)
                continue;
            if (PhotoStore::program().correctCamera(path, record.correction.overlaidWith(correction), nullptr)) {
                ++changed;
                QMetaObject::invokeMethod(this, [this, path] { emit photographReconverted(path); }, Qt::QueuedConnection);
            }
        }
        QMetaObject::invokeMethod(this, [this, changed] {
            m_applyToAll->setEnabled(m_calibrated);
            emit applyFinished(changed);
        }, Qt::QueuedConnection);
    });
}

void CameraParameterEditor::cancel()
{
    m_cancel = true;
}

void CameraParameterEditor::waitForApply()
{
    m_apply.waitForFinished();
}

void CameraParameterEditor::showMessage(const QString &text)
{
    MyMsgBoxDlg box(tr("提示"), QPixmap(":/res/icon/warning.svg"), text, MyMsgBoxDlg::ConfirmOnly, m_messageParent);
    box.exec();
}
