#include "platform/qt/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zeko {

QTranslator* InstallQtTranslations(QCoreApplication* app, const QString& folder) {
    const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* texts = new QTranslator(app);
    if (!texts->load(QStringLiteral("qtbase_cs"), from) || !QCoreApplication::installTranslator(texts)) {
        delete texts;
        return nullptr;
    }
    return texts;
}

} // namespace zeko
