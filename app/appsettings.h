#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The process-wide settings on config.ini beside the executable. Only the language id is
// kept between runs.
class AppSettings
{
public:
    static AppSettings &instance();

    // Opens config.ini (creating it with an empty [INFO] group when it cannot be read) and
    // takes the language id from [Language]/LangId.
    void load();
    void setLanguageId(int id);
    int languageId() const { return m_languageId; }

    static QString configPath();

    void writeValue(const QString &group, const QString &key, const QString &text);
    QString readValue(const QString &group, const QString &key, const QString &defaultText) const;
    void removeKey(const QString &key);
    void removeKeyInGroup(const QString &group, const QString &key);

private:
    AppSettings() = default;
    std::unique_ptr<QSettings> m_settings;
    int m_languageId = 0;
};
