#pragma once

#include <QString>

// What a message box shows. `bild` is a resource path (":/images/info.png") or empty for a plain
// box; `mitFensterIcon` adds the program's window icon.
struct Meldung
{
    QString text;
    QString informativerText;
    QString bild;
    bool mitFensterIcon = true;
    // For a question: Return and Space answer Yes. Left unset they answer No, so that a key
    // pressed to go on never does what a question warns about; set it where No is what would
    // lose something.
    bool jaAlsVorgabe = false;
};

// Modal message boxes and file dialogs. The program shows real ones; tests install a recorder that
// answers at once, so no test ever blocks on a dialog.
class Dialoge
{
public:
    Dialoge() = default;
    Dialoge(const Dialoge &) = delete;
    Dialoge &operator=(const Dialoge &) = delete;
    virtual ~Dialoge() = default;

    // An information box with an OK button; returns when it was closed.
    virtual void hinweis(const Meldung &meldung) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool frage(const Meldung &meldung) = 0;
    // Unsaved changes: save them (the default button), discard them, or cancel what was asked
    // (also Escape and closing the box).
    enum class Sichern { Speichern, Verwerfen, Abbrechen };
    virtual Sichern sichern(const Meldung &meldung) = 0;
    // A file-open dialog; an empty text when cancelled.
    virtual QString dateiZumOeffnen(const QString &titel, const QString &verzeichnis,
                                    const QString &filter) = 0;
    // A file-save dialog starting at `vorschlag` (a folder or a full path); an empty text when
    // cancelled.
    virtual QString dateiZumSpeichern(const QString &titel, const QString &vorschlag,
                                      const QString &filter) = 0;

    // Where a file-open dialog starts for a remembered folder (or a file, beside which it opens).
    // The stored default is the file system's root, where no teacher keeps files; it and a folder
    // that is gone start in the documents folder instead. The setting itself stays as it is.
    static QString startOrdner(const QString &gemerkt);
    // Where a save dialog proposes `vorschlag`: where it is, when its folder is a real one the user
    // chose; else (no folder, the root, a folder that is gone) under the same name in the start
    // folder. A bare name would otherwise land wherever the program was started from.
    static QString speicherOrt(const QString &vorschlag);
};
