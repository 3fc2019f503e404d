#pragma once

#include "exportgrundlage.h"
#include "person.h"

#include <QList>
#include <QObject>
#include <QUrl>

class Dialoge;
class ExportFortschritt;
class Fragenkatalog;
class QIODevice;
class Uhr;

// The results as a printed report: ranking, answers per question, a blank answer sheet, the
// solutions and one page group per participant coloured by right, wrong or no answer. The report is
// one HTML text with forced page breaks; each piece between two breaks is laid out by a rich-text
// document of its own and printed onto one A4 PDF.
class pdfrangliste final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(pdfrangliste)

public:
    explicit pdfrangliste(Dialoge &dialoge, QObject *eltern = nullptr);
    // The file name proposal comes from `uhr`.
    pdfrangliste(Dialoge &dialoge, const Uhr &uhr, QObject *eltern = nullptr);

    // Shown a cancellable progress while the report is laid out and printed (not owned; null for none).
    void fortschrittSetzen(ExportFortschritt *fortschritt) { m_fortschritt = fortschritt; }
    // Names printed beside the handset numbers; none by default.
    void namenSetzen(Namensliste namen) { m_namen = std::move(namen); }

    // Asks for the file name and writes the report. True only when the file was written; a
    // cancelled dialog or progress writes nothing, a failure is reported to the presenter.
    bool ranglisteExportieren(QList<Person> personen, const Fragenkatalog *katalog, int anzahlFragen,
                              int aktuelleFrageNr);

    // The report's HTML. Pictures are named relative to basisUrl() ("imagespdf/haken_rot.png").
    static QString html(const Exportgrundlage::Daten &daten);
    static QString standardStil();
    // The program's own folder, where the "imagespdf" pictures are installed, whatever the working
    // folder is.
    static QUrl basisUrl();
    // Prints the report of `daten`, as html() has it, as A4 PDF into `ziel` (open for writing). False
    // when `melder` cancelled or the printer failed.
    static bool drucken(const Exportgrundlage::Daten &daten, QIODevice *ziel,
                        Exportgrundlage::Melder *melder = nullptr, int vonProzent = 0);

private:
    Dialoge &m_dialoge;
    const Uhr &m_uhr;
    ExportFortschritt *m_fortschritt = nullptr;
    Namensliste m_namen;
};
