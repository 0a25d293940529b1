#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {

bool installQtTranslations() {
    auto* application = QCoreApplication::instance();
    if (application == nullptr) return false;
    const QString name = activeTextMode() == kTextModeTraditional ? "qtbase_zh_TW" : "qtbase_zh_CN";
    auto* translator = new QTranslator(application);
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace vetra
