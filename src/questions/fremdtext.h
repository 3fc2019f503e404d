#pragma once

#include <QString>
#include <QStringList>

// Question texts between this program and the learning platforms. A question file's text is shown
// as markup by the pages (line breaks as breaks), so text from outside is reduced to plain text and
// then written so that nothing in it can open a tag; the exports go the other way.
namespace FremdText {

enum class Quelle {
    Html,       // white space collapses as a browser collapses it
    AutoFormat, // HTML allowed, line breaks are breaks, white space stays as written
    Klartext,
    Markdown,
};

// What XML cannot hold goes: control characters but tab and line feed, U+FFFE, U+FFFF, a half of a
// surrogate pair. A vertical tab or form feed, which spreadsheets and old editors write for a line
// break within a text, becomes a blank, so that the words on either side stay apart.
QString saeubern(const QString &text);

// The format named by a platform file ("html", "moodle_auto_format", "plain_text", "markdown" or
// the short forms of a text file's "[html]" marker); anything else is the platform's auto format.
Quelle quelle(const QString &name);

// What a platform shows of `text`: tags dropped (breaks and block ends become line breaks),
// character references decoded, script and style left out. `bilder` receives the src of every
// picture in order.
QString klartext(const QString &text, Quelle quelle, QStringList *bilder = nullptr);

// Plain text as a question file holds it: a "<" that would open a tag and an "&" that would start a
// character reference are written as references, everything else stays as typed ("2 < 3 & 4");
// blanks around it and what XML cannot hold go.
QString fuerFrageDatei(const QString &klartext);

// A question file's text as HTML for a platform: line breaks become <br>, blanks the browser would
// swallow become &nbsp;, so the text comes back as it was.
QString alsHtml(const QString &frageText);

} // namespace FremdText
