#pragma once

#include <QLocale>
#include <QString>

class AppSettings;

// Language ids are QLocale::Language values; only Chinese, English and Japanese have
// catalogues, every other id behaves as Chinese.
namespace LanguageId {
constexpr int None = 0;
constexpr int Chinese = QLocale::Chinese;
constexpr int English = QLocale::English;
constexpr int Japanese = QLocale::Japanese;
}

QString qmPathForLanguage(int id);
// Qt's own catalogue for the language (the texts of its dialogs: file dialogs, message boxes),
// among the system's Qt translations; it need not exist.
QString qtQmPathForLanguage(int id);
QString languageDisplayName(int id);
int languageIdFromDisplayName(const QString &name);

// The catalogue to install at start-up. When no language was stored yet, the system
// language is taken and written back to the settings.
QString startupQmPath(AppSettings &settings, const QLocale &systemLocale);
