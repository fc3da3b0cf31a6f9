#include "language.h"

#include "appsettings.h"

#include <QLibraryInfo>

QString qmPathForLanguage(int id)
{
    switch (id) {
    case LanguageId::English:
        return ":/res/language/english.qm";
    case LanguageId::Japanese:
        return ":/res/language/japanese.qm";
    default:
        return ":/res/language/chinese.qm";
    }
}

QString qtQmPathForLanguage(int id)
{
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    switch (id) {
    case LanguageId::English:
        return folder + "/qtbase_en.qm";
    case LanguageId::Japanese:
        return folder + "/qtbase_ja.qm";
    default:
        return folder + "/qtbase_zh_CN.qm";
    }
}

QString languageDisplayName(int id)
{
    switch (id) {
    case LanguageId::English:
        return "English";
    case LanguageId::Japanese:
        return QString::fromUtf8("日本語");
    default:
        return QString::fromUtf8("中文");
    }
}

int languageIdFromDisplayName(const QString &name)
{
    if (name == QLatin1String("English"))
        return LanguageId::English;
    if (name == QString::fromUtf8("日本語"))
        return LanguageId::Japanese;
    return LanguageId::Chinese;
}

QString startupQmPath(AppSettings &settings, const QLocale &systemLocale)
{
    if (settings.languageId() >= 1)
        return qmPathForLanguage(settings.languageId());
    const int systemLanguage = systemLocale.language();
    settings.setLanguageId(systemLanguage);
    return qmPathForLanguage(systemLanguage);
}
