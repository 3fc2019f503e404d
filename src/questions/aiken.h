#pragma once

#include "fremdformat.h"

#include <QString>

// Aiken: a question line, options "A." or "A)" on lines of their own, then "ANSWER: X".
namespace Aiken {

Fremdformat::Ergebnis lesen(const QString &text, bool englisch);

} // namespace Aiken
