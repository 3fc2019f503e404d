#pragma once

#include <QString>

#include <string>
#include <string_view>

// What the phones' server answers with a page, in the interface language and in the look of the
// presentation's template (`vorlage`, the name the server was given): the voting page, and the small
// pages for a wrong join code and for an address that is not there, which carry the voting page's
// style sheet. Nothing of a request goes into them; what the program gives is escaped.
namespace HandySeiten {

// The voting page from its resource `seite`, with the placeholders {sprache}, {aussehen} and
// {ohneSkript} filled in. Its script shows every other text in the page's language.
std::string abstimmung(std::string_view seite, bool englisch, const QString &vorlage);

std::string falscherCode(bool englisch, const QString &vorlage);
std::string nichtGefunden(bool englisch, const QString &vorlage);

} // namespace HandySeiten
