#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool installSwedishTranslation() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));

    const QString name = QStringLiteral("pensilo_qt_sv");
    if (app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly))
        return true;
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    if (!translator->load(QStringLiteral(":/translations/qt_sv.qm")) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}
