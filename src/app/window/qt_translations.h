#pragma once
// Qt's own translations for the user's locale, so that the toolkit's file dialogs and
// questions speak the language of the rest of the desktop.
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace fw {

// Loads Qt's translations ("qtbase") for `locale` from Qt's translations folder and installs
// them in `app`, which owns the translator from then on. Null when there are none for the
// locale (English, or the translations package is missing): Qt stays English.
QTranslator* InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

}  // namespace fw
