#pragma once

class QTranslator;

// Loads Qt's own texts (OK, Cancel, the file dialogs, a line editor's menu) for the language whose string table
// serves the LCID, from the system's Qt translations, and installs them in the application. False when the
// system has no translations for it (English needs none); Qt's texts then stay English.
bool InstallQtTranslations(QTranslator& translator, int lcid);
