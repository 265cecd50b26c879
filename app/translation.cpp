#include "translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::Literals::StringLiterals;

namespace korvane {

void installQtTranslation()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    // Beside the program where it is shipped with it (Windows), else where
    // Qt's translations are installed (Debian: qt6-translations-l10n).
    const QString places[] = {QCoreApplication::applicationDirPath() + u"/translations"_s,
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString &place : places) {
        if (translator->load(u"qtbase_zh_CN"_s, place)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

} // namespace korvane
