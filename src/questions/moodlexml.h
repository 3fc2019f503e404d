#pragma once

#include "fremdformat.h"

#include <QByteArray>
#include <QDomElement>
#include <QString>
#include <QVector>

// The learning platform's XML question bank: a <quiz> of <question> elements.
namespace MoodleXml {

// Multiple-choice and true/false questions are taken, with the pictures the file embeds; every
// other kind is listed as skipped.
Fremdformat::Ergebnis lesen(const QByteArray &inhalt, bool englisch);

// The questions of the question file at `frageDatei` as a question bank, their pictures embedded.
QByteArray schreiben(const QVector<QDomElement> &fragen, const QString &frageDatei);

} // namespace MoodleXml
