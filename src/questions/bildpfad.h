#pragma once

#include <QString>

// Picture paths in question files are stored relative to the question file's folder, with "..\"
// steps and "\" separators, so a folder of questions and pictures can be moved as a whole.
namespace BildPfad {

// The stored form of the picture at `bild` for the question file `frageDatei` (both with "/"
// separators). A picture that shares no folder but the root with the question file (another
// drive, another top folder) is stored with its absolute path.
QString relativerBildPfad(const QString &frageDatei, const QString &bild);

struct Quelle
{
    QString url;         // the file URL of the picture; the statement builder encodes it for a page
    QString lokalerPfad; // what the program opens to read the picture's size
    bool isEmpty() const { return url.isEmpty(); }
};

// Resolves a stored path against the question file; an absolute stored path is used as it is.
// An empty stored path means no picture.
Quelle bildPfadAufloesen(const QString &gespeichert, const QString &frageDatei);

bool istAbsolut(const QString &pfad);

// A regular file, the only kind a picture is read from: a FIFO or a device named by a question
// file would block the program while it waits for data.
bool istBilddatei(const QString &lokalerPfad);

} // namespace BildPfad
