#include "platform/qt/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace zeko {
namespace {

struct TSupplementedText {
    const char* Context;
    const char* Source;
    const char* Czech;
};

// What Qt's Czech translations of this Qt lack, by the texts Qt asks for.
constexpr TSupplementedText SupplementedTexts[] = {
    {"QPrintSettingsOutput", "Pages", "Strany"},
    {"QPrintSettingsOutput", "Double Sided Printing", "Oboustranný tisk"},
    {"QPrintSettingsOutput", "Off", "Vypnuto"},
    {"QPrintSettingsOutput", "Long side binding", "Vazba na delší straně"},
    {"QPrintSettingsOutput", "Short side binding", "Vazba na kratší straně"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
     "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Zadejte strany nebo rozsahy stran oddělené čárkami. Rozsah jsou dvě čísla spojená pomlčkou, "
     "např. 3,5-7,9 vytiskne strany 3, 5, 6, 7 a 9."},
    {"QPrintPropertiesWidget", "Advanced", "Pokročilé"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
     "Některé volby si odporují. Opravte je, prosím."},
    {"QAbstractFileIconProvider", "Folder", "Složka"},
    {"QAbstractFileIconProvider", "Drive", "Jednotka"},
};

class TCzechSupplement : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char*, int) const override {
        if (context == nullptr || sourceText == nullptr)
            return {};
        for (const TSupplementedText& text : SupplementedTexts)
            if (std::strcmp(context, text.Context) == 0 && std::strcmp(sourceText, text.Source) == 0)
                return QString::fromUtf8(text.Czech);
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

QTranslator* InstallQtTranslations(QCoreApplication* app, const QString& folder) {
    const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* texts = new QTranslator(app);
    if (!texts->load(QStringLiteral("qtbase_cs"), from) || !QCoreApplication::installTranslator(texts)) {
        delete texts;
        return nullptr;
    }
    return texts;
}

QTranslator* InstallCzechSupplement(QCoreApplication* app) {
    auto* texts = new TCzechSupplement(app);
    if (!QCoreApplication::installTranslator(texts)) {
        delete texts;
        return nullptr;
    }
    return texts;
}

void UseCzechLocale() { QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic)); }

} // namespace zeko
