#pragma once

#include <QStringList>

class QCoreApplication;

// The catalogues of the interface language: the program's own catalogue (built into the resources,
// so it is found from any working folder; the German one holds only the German forms of texts that
// count something) and the toolkit's own texts (Yes/No buttons and the file dialogs) from the Qt
// installation.
namespace Sprachkataloge {

inline constexpr char Ressourcenordner[] = ":/i18n";

// Loads and installs the catalogues for `englisch`; the translators live as children of `app`.
// A catalogue that cannot be loaded is logged and left out, the interface then keeps its German
// source texts. Returns the names of the catalogues installed.
QStringList installieren(QCoreApplication &app, bool englisch);

} // namespace Sprachkataloge
