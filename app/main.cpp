#include "appsettings.h"
#include "language.h"
#include "photostore.h"
#include "quorvicameratool.h"

#include <QApplication>
#include <QFont>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication app(argc, argv);
    // The style sheets name Microsoft YaHei; where it is missing, a CJK face keeps the
    // Chinese texts readable.
    QFont::insertSubstitutions("Microsoft YaHei", {"Noto Sans CJK SC", "Noto Sans CJK JP", "WenQuanYi Micro Hei"});

    AppSettings &settings = AppSettings::instance();
    settings.load();
    // How much memory the photographs' temperatures may keep, in MiB ([Memory]/MatrixBudgetMB).
    const qint64 budget = settings.readValue("Memory", "MatrixBudgetMB", "0").toLongLong();
    if (budget > 0)
        PhotoStore::program().setMatrixBudget(budget * 1024 * 1024);
    QTranslator startupTranslator;
    startupTranslator.load(startupQmPath(settings, QLocale()));
    app.installTranslator(&startupTranslator);

    QuorviCameraTool window;
    window.show();
    return app.exec();
}
