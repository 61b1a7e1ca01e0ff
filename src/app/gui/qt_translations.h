#pragma once
// Qt's own texts (the buttons of message boxes; the file, print, page
// set-up, colour and font dialogs) in the system's language, as the system's
// own dialogs are, whatever language the program's texts are set to.

#include <QCoreApplication>
#include <QLocale>

namespace kestrum {

// Loads and installs Qt's catalogue for `locale` from Qt's translations
// folder. False when there is none (a language Qt has no texts for, or the
// translations are not installed): Qt's texts stay as they are.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale());

}  // namespace kestrum
