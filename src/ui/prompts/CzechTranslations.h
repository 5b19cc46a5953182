#pragma once

class QCoreApplication;

// Loads Qt's own Czech translations (qtbase_cs.qm from Qt's translation
// folder), so standard buttons and dialogs read "Ano", "Ne", "Zrušit".
// Returns false when the file is not installed; the program then runs with
// Qt's English button texts.
bool InstallCzechTranslations(QCoreApplication& app);
