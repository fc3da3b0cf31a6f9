#include "appsettings.h"

#include <QAtomicPointer>
#include <QCoreApplication>
#include <QFile>
#include <QMutex>

AppSettings &AppSettings::instance()
{
    static QAtomicPointer<AppSettings> published;
    static QMutex creation;
    AppSettings *settings = published.loadAcquire();
    if (!settings) {
        QMutexLocker lock(&creation);
        settings = published.loadRelaxed();
        if (!settings) {
            settings = new AppSettings; // lives until the process ends
            published.storeRelease(settings);
        }
    }
    return *settings;
}

QString AppSettings::configPath()
{
    return QCoreApplication::applicationDirPath() + "/" + "config.ini";
}

void AppSettings::load()
{
    const QString path = configPath();
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    m_settings->setIniCodec("UTF-8");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        writeValue("INFO", "EquipmentType", "");
    m_languageId = readValue("Language", "LangId", "0").toInt();
}

void AppSettings::setLanguageId(int id)
{
    m_languageId = id;
    writeValue("Language", "LangId", QString("%1").arg(id));
}

void AppSettings::writeValue(const QString &group, const QString &key, const QString &text)
{
    if (!m_settings)
        return;
    m_settings->beginGroup(group);
    m_settings->setValue(key, text);
    m_settings->endGroup();
    m_settings->sync(); // a choice made in the interface survives a crash
}

QString AppSettings::readValue(const QString &group, const QString &key, const QString &defaultText) const
{
    if (!m_settings)
        return defaultText;
    const QString text = m_settings->value(QString("%1/%2").arg(group, key)).toString();
    return text.isEmpty() ? defaultText : text;
}

void AppSettings::removeKey(const QString &key)
{
    if (m_settings)
        m_settings->remove(key);
}

void AppSettings::removeKeyInGroup(const QString &group, const QString &key)
{
    if (!m_settings)
        return;
    m_settings->beginGroup(group);
    m_settings->remove(key);
    m_settings->endGroup();
}
