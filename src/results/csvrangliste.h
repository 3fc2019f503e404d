#pragma once

#include "exportgrundlage.h"
#include "person.h"

#include <QList>
#include <QObject>

class Dialoge;
class ExportFortschritt;
class Fragenkatalog;
class Uhr;

// The results as a semicolon-separated file for spreadsheets, UTF-8 without a byte-order mark: ranking,
// answer counts per question and every participant's answers next to the correct ones.
class csvrangliste final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(csvrangliste)

public:
    explicit csvrangliste(Dialoge &dialoge, QObject *eltern = nullptr);
    // The file name proposal and the date line come from `uhr`.
    csvrangliste(Dialoge &dialoge, const Uhr &uhr, QObject *eltern = nullptr);

    // Shown a cancellable progress while the file is written (not owned; null for none).
    void fortschrittSetzen(ExportFortschritt *fortschritt) { m_fortschritt = fortschritt; }
    // Names printed beside the handset numbers; none by default.
    void namenSetzen(Namensliste namen) { m_namen = std::move(namen); }

    // Asks for the file name and writes the file. True only when the file was written; a
    // cancelled dialog or progress writes nothing, a failure is reported to the presenter.
    bool ranglisteExportieren(QList<Person> personen, const Fragenkatalog *katalog, int anzahlFragen,
                              int aktuelleFrageNr);

    // The whole file, as it is written. Empty when `melder` cancelled.
    static QByteArray inhalt(const Exportgrundlage::Daten &daten, Exportgrundlage::Melder *melder = nullptr);
    // A field as the file writes it: quoted only when it holds ";", a double quote or a line break.
    static QString feld(const QString &text);

private:
    Dialoge &m_dialoge;
    const Uhr &m_uhr;
    ExportFortschritt *m_fortschritt = nullptr;
    Namensliste m_namen;
};
