#pragma once

#include "fremdformat.h"

#include <QByteArray>
#include <QDomElement>
#include <QString>
#include <QVector>

// GIFT, the learning platforms' text format for question banks: one question per paragraph,
// answers in braces ("{=right ~wrong}", "{T}").
namespace Gift {

Fremdformat::Ergebnis lesen(const QString &text, bool englisch);

// Texts and answers; pictures have no place in the format.
QByteArray schreiben(const QVector<QDomElement> &fragen);

} // namespace Gift
