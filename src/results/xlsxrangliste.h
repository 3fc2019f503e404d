#pragma once

#include "exportgrundlage.h"
#include "person.h"

#include <QList>
#include <QObject>

class Dialoge;
class ExportFortschritt;
class Fragenkatalog;
class Uhr;

// The results as a workbook: the ranking, the shares per question and every participant's answers,
// with numbers a spreadsheet can calculate with.
class xlsxrangliste final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(xlsxrangliste)

public:
    explicit xlsxrangliste(Dialoge &dialoge, QObject *eltern = nullptr);
    // The file name proposal and the document's date come from `uhr`.
    xlsxrangliste(Dialoge &dialoge, const Uhr &uhr, QObject *eltern = nullptr);

    // Shown a cancellable progress while the file is written (not owned; null for none).
    void fortschrittSetzen(ExportFortschritt *fortschritt) { m_fortschritt = fortschritt; }
    // Names printed beside the handset numbers; none by default.
    void namenSetzen(Namensliste namen) { m_namen = std::move(namen); }

    // Asks for the file name and writes the file. True only when the file was written; a
    // cancelled dialog or progress writes nothing, a failure is reported to the presenter.
    bool ranglisteExportieren(QList<Person> personen, const Fragenkatalog *katalog, int anzahlFragen,
                              int aktuelleFrageNr);

private:
    Dialoge &m_dialoge;
    const Uhr &m_uhr;
    ExportFortschritt *m_fortschritt = nullptr;
    Namensliste m_namen;
};
