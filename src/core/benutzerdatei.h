#pragma once

#include <QIODevice>
#include <QString>
#include <QTemporaryFile>

#include <memory>

// How writing a file the user owns ended. On failure the message names the file and the
// system's own reason, so the presenter can free space or pick another folder.
struct SchreibErgebnis
{
    QString pfad;
    QString grund; // the system's words; empty when the file was written

    bool ok() const { return grund.isEmpty(); }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    QString meldung(bool englisch) const;
    // In the interface language at the moment of the call.
    QString meldung() const;
};

// Writes a file the user owns (question file, export) so that a full disk, a file-size limit
// or a crash never leaves a destroyed file behind: everything goes to a temporary file in the
// target's folder, every write, the flush and the sync are checked, and only then is the
// temporary file renamed over the target. On any failure the temporary file is removed and the
// target keeps its previous content.
//
// The writes go straight to the system, without a buffer of the toolkit: a buffered write that
// fails only when the buffer is emptied at the end is exactly how a truncated file used to
// replace a good one, and the toolkit loses the system's reason on a partly done write.
class BenutzerDatei final
{
    Q_DISABLE_COPY_MOVE(BenutzerDatei)

public:
    explicit BenutzerDatei(const QString &ziel);
    // Without abschliessen() the target stays untouched.
    ~BenutzerDatei();

    bool oeffnen();
    // For writers that want a device (a PDF writer, a text stream). Their failed writes are
    // remembered and make abschliessen() fail even if the writer ignored them.
    QIODevice &geraet();
    bool schreiben(const QByteArray &daten);
    // Syncs, checks, and renames over the target.
    SchreibErgebnis abschliessen();

    // The whole round for content that is at hand in one piece.
    static SchreibErgebnis schreiben(const QString &ziel, const QByteArray &inhalt);

    // Writes all of `daten` to the descriptor; on failure false with the system's reason.
    // Shared with the press journal, which appends to a file it keeps open.
    static bool allesSchreiben(int deskriptor, const char *daten, qint64 laenge, QString *grund);

private:
    class Geraet;

    bool scheitern(const QString &grund);

    QString m_ziel;
    QTemporaryFile m_temp;
    std::unique_ptr<Geraet> m_geraet;
    QString m_grund;
    bool m_offen = false;
    bool m_abgeschlossen = false;
};
