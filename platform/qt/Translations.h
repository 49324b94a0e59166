#pragma once
// The program speaks Czech whatever the session's locale: Qt's own texts (those of
// the standard print, print preview, open and save dialogs among them) come from
// Qt's Czech translations, and the names of months and days that Qt writes (the
// dates of the file dialogs) from the Czech locale. Where Qt's Czech translations
// are not installed, Qt's own texts stay as Qt has them, without a message; the
// program's own texts are Czech in any case.
#include <QString>

class QCoreApplication;
class QTranslator;

namespace zeko {

// Loads Qt's Czech texts from `folder` (empty: the folder of Qt's translations)
// into the application; null when there are none.
QTranslator* InstallQtTranslations(QCoreApplication* app, const QString& folder = {});
// The words of the standard dialogs that Qt's Czech translations leave in English
// (the print dialog's "Pages" and double-sided printing, the file list's "Folder"),
// in Czech. Installed before Qt's translations it answers only what they do not,
// and it answers also where they are missing.
QTranslator* InstallCzechSupplement(QCoreApplication* app);
// Qt's locale for everything it formats or names: Czech (Czech Republic).
void UseCzechLocale();

} // namespace zeko
