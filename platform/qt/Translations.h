#pragma once
// Qt's own texts, those of the standard print, print preview, open and save
// dialogs among them, in Czech, the language of the program's own windows. Where
// Qt's Czech translations are not installed, those texts stay as Qt has them,
// without a message.
#include <QString>

class QCoreApplication;
class QTranslator;

namespace zeko {

// Loads Qt's Czech texts from `folder` (empty: the folder of Qt's translations)
// into the application; null when there are none.
QTranslator* InstallQtTranslations(QCoreApplication* app, const QString& folder = {});

} // namespace zeko
