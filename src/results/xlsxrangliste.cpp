#include "xlsxrangliste.h"

#include "einstellungen.h"
#include "schluessel.h"
#include "uhr.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <cerrno>
#include <memory>

using namespace Exportgrundlage;

namespace {

// Spreadsheet programs refuse longer cell texts.
constexpr int MaxText = 32767;
// Wider columns than this wrap their text instead.
constexpr int MaxBreite = 60;

// Right and wrong are marked in the text too, so that they do not rest on colour alone.
const QString Richtig = QStringLiteral(" ") + QChar(0x2713);
const QString Falsch = QStringLiteral(" ") + QChar(0x2717);

QString buchstabe(int knopf)
{
    return QString(QChar(u'A' + knopf - 1));
}

// One worksheet: remembers the first failed write and the widest content of every column.
class Blatt final
{
public:
    Blatt(lxw_workbook *mappe, const QString &name, lxw_error &fehler)
        : m_blatt(workbook_add_worksheet(mappe, name.toUtf8().constData()))
        , m_fehler(fehler)
    {
        if (!m_blatt)
            merken(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }

    void text(int zeile, int spalte, const QString &text, lxw_format *format = nullptr)
    {
        if (!m_blatt || text.isEmpty())
            return;
        const QString kurz = text.left(MaxText);
        merken(worksheet_write_string(m_blatt, zeile, spalte, kurz.toUtf8().constData(), format));
        qsizetype zeichen = 0;
        for (const QStringView teil : QStringView(kurz).split(QLatin1Char('\n')))
            zeichen = std::max(zeichen, teil.size());
        breite(spalte, zeichen);
    }
    // `angezeigt` is how many characters the number takes in its format.
    void zahl(int zeile, int spalte, double wert, lxw_format *format, qsizetype angezeigt)
    {
        if (!m_blatt)
            return;
        merken(worksheet_write_number(m_blatt, zeile, spalte, wert, format));
        breite(spalte, angezeigt);
    }
    void kopf(const QStringList &texte, lxw_format *format)
    {
        for (int spalte = 0; spalte < texte.size(); ++spalte)
            text(0, spalte, texte.at(spalte), format);
    }
    // Columns as wide as their content, wrapping where that would be too wide; the header row and
    // `spalten` columns frozen.
    void abschliessen(int spalten, lxw_format *umbruch)
    {
        if (!m_blatt)
            return;
        for (int spalte = 0; spalte < m_breiten.size(); ++spalte) {
            const int breite = m_breiten.at(spalte);
            merken(worksheet_set_column(m_blatt, spalte, spalte, std::min(breite, MaxBreite),
                                        breite > MaxBreite ? umbruch : nullptr));
        }
        worksheet_freeze_panes(m_blatt, 1, spalten);
    }
    lxw_worksheet *blatt() const { return m_blatt; }

private:
    void merken(lxw_error fehler)
    {
        if (m_fehler == LXW_NO_ERROR)
            m_fehler = fehler;
    }
    void breite(int spalte, qsizetype zeichen)
    {
        if (m_breiten.size() <= spalte)
            m_breiten.resize(spalte + 1, 0);
        // Room for the bold header and the filter arrow a user may add.
        m_breiten[spalte] = std::max(m_breiten.at(spalte), int(std::min<qsizetype>(zeichen, MaxText)) + 2);
    }

    lxw_worksheet *m_blatt;
    lxw_error &m_fehler;
    QVector<int> m_breiten;
};

struct MappeFreigeben
{
    void operator()(lxw_workbook *mappe) const { lxw_workbook_free(mappe); }
};

// The workbook's bytes. Empty when `melder` cancelled or writing failed (the reason then in `grund`).
QByteArray mappeSchreiben(const Daten &daten, Melder &melder, QString &grund)
{
    const bool en = daten.englisch;
    const auto t = [en](const char *deutsch, const char *englisch) {
        return en ? QString::fromUtf8(englisch) : QString::fromUtf8(deutsch);
    };
    const int n = daten.anzahlFragen;
    const bool mitNamen = !daten.namen.istLeer();

    QTemporaryDir ordner;
    if (!ordner.isValid()) {
        grund = ordner.errorString();
        return {};
    }
    const QByteArray pfad = QFile::encodeName(ordner.filePath(QStringLiteral("mappe.xlsx")));
    // libxlsxwriter assembles the parts in temporary files of its own; they go where the workbook goes.
    QByteArray tmp = QFile::encodeName(ordner.path());
    lxw_workbook_options optionen{};
    optionen.tmpdir = tmp.data();
    std::unique_ptr<lxw_workbook, MappeFreigeben> mappe(workbook_new_opt(pfad.constData(), &optionen));
    if (!mappe) {
        grund = QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
        return {};
    }
    lxw_error fehler = LXW_NO_ERROR;

    lxw_format *kopf = workbook_add_format(mappe.get());
    format_set_bold(kopf);
    format_set_bottom(kopf, LXW_BORDER_THIN);
    lxw_format *zweiStellen = workbook_add_format(mappe.get());
    format_set_num_format(zweiStellen, "0.00");
    lxw_format *prozent = workbook_add_format(mappe.get());
    format_set_num_format(prozent, "0.0%");
    lxw_format *umbruch = workbook_add_format(mappe.get());
    format_set_text_wrap(umbruch);
    format_set_align(umbruch, LXW_ALIGN_VERTICAL_TOP);
    lxw_format *gut = workbook_add_format(mappe.get());
    format_set_bg_color(gut, 0xC6EFCE);
    format_set_font_color(gut, 0x006100);
    lxw_format *schlecht = workbook_add_format(mappe.get());
    format_set_bg_color(schlecht, 0xFFC7CE);
    format_set_font_color(schlecht, 0x9C0006);

    // Ranking.
    Blatt rangliste(mappe.get(), t("Rangliste", "Ranking"), fehler);
    QStringList titel{t("Rang", "Rank"), t("Geräte-ID", "Device-ID")};
    if (mitNamen)
        titel << QStringLiteral("Name");
    titel << t("Punkte", "Points") << t("Antwortzeit [s]", "Response time [s]");
    rangliste.kopf(titel, kopf);
    for (int p = 0; p < daten.personen.size(); ++p) {
        const Person &person = daten.personen.at(p);
        int spalte = 0;
        rangliste.zahl(p + 1, spalte++, p + 1, nullptr, QString::number(p + 1).size());
        rangliste.text(p + 1, spalte++, geraet(daten, person));
        if (mitNamen)
            rangliste.text(p + 1, spalte++, name(daten, person));
        rangliste.zahl(p + 1, spalte++, person.getPunkte(), nullptr,
                       QString::number(person.getPunkte()).size());
        rangliste.zahl(p + 1, spalte, person.getAntwortszeit() / 1000.0, zweiStellen,
                       sekunden(person.getAntwortszeit()).size());
    }
    rangliste.abschliessen(0, umbruch);

    // Questions.
    Blatt fragen(mappe.get(), t("Fragen", "Questions"), fehler);
    QStringList fragenTitel{t("Nr.", "No."),
                            t("Frage", "Question"),
                            QStringLiteral("A"),
                            QStringLiteral("B"),
                            QStringLiteral("C"),
                            QStringLiteral("D"),
                            t("Lösung", "Correct answer"),
                            t("Beantwortet", "Answered")};
    // The first round's columns come after the old ones, and only when there was a first round.
    if (daten.zweiRunden) {
        for (int k = 1; k <= 4; ++k)
            fragenTitel << buchstabe(k) + QStringLiteral(" (") + runde(1, en) + QLatin1Char(')');
        fragenTitel << wechselText(Wechsel::FalschZuRichtig, en) << wechselText(Wechsel::RichtigZuFalsch, en);
    }
    fragen.kopf(fragenTitel, kopf);
    for (int i = 1; i <= n; ++i) {
        const Frage &frage = daten.fragen.at(i - 1);
        fragen.zahl(i, 0, i, nullptr, QString::number(i).size());
        fragen.text(i, 1, frage.text, umbruch);
        int beantwortet = 0;
        for (int k = 0; k < 4; ++k) {
            beantwortet += frage.anzahl[k];
            // An answer the question does not have stays empty unless someone pressed it anyway.
            if (!frage.antworten[k].isEmpty() || frage.anzahl[k] > 0)
                fragen.zahl(i, 2 + k, frage.prozent[k] / 100.0, prozent,
                            QString::number(frage.prozent[k], 'f', 1).size() + 1);
        }
        if (frage.umfrage)
            fragen.text(i, 6, t("Umfrage", "Survey"));
        else if (frage.loesungsAntwort > 0)
            fragen.text(i, 6, buchstabe(frage.loesungsAntwort));
        fragen.zahl(i, 7, beantwortet, nullptr, QString::number(beantwortet).size());
        if (!frage.zweiRunden)
            continue;
        for (int k = 0; k < 4; ++k) {
            if (!frage.antworten[k].isEmpty() || frage.anzahlErsteRunde[k] > 0)
                fragen.zahl(i, 8 + k, frage.prozentErsteRunde[k] / 100.0, prozent,
                            QString::number(frage.prozentErsteRunde[k], 'f', 1).size() + 1);
        }
        if (!frage.umfrage && frage.loesungsAntwort > 0) {
            fragen.zahl(i, 12, frage.falschZuRichtig, nullptr, QString::number(frage.falschZuRichtig).size());
            fragen.zahl(i, 13, frage.richtigZuFalsch, nullptr, QString::number(frage.richtigZuFalsch).size());
        }
    }
    fragen.abschliessen(0, umbruch);

    // Every participant's answers.
    Blatt antworten(mappe.get(), t("Antworten", "Answers"), fehler);
    const int erste = mitNamen ? 2 : 1;
    QStringList spalten{t("Geräte-ID", "Device-ID")};
    if (mitNamen)
        spalten << QStringLiteral("Name");
    for (int i = 1; i <= n; ++i)
        spalten << t("Frage ", "Question ") + QString::number(i);
    antworten.kopf(spalten, kopf);
    const qsizetype teilnehmer = daten.personen.size();
    for (qsizetype p = 0; p < teilnehmer; ++p) {
        if (!melder.weiter(int(p * 100 / teilnehmer)))
            return {};
        const Person &person = daten.personen.at(p);
        const QVector<int> &knoepfe = daten.knoepfe.at(p);
        const int zeile = int(p) + 1;
        antworten.text(zeile, 0, geraet(daten, person));
        if (mitNamen)
            antworten.text(zeile, 1, name(daten, person));
        for (int i = 1; i <= n; ++i) {
            const int knopf = knoepfe.at(i);
            if (knopf < 1 || knopf > 4)
                continue;
            const Frage &frage = daten.fragen.at(i - 1);
            QString zelle = buchstabe(knopf);
            if (!frage.umfrage && frage.loesungsAntwort > 0)
                zelle += knopf == frage.loesungsAntwort ? Richtig : Falsch;
            antworten.text(zeile, erste + i - 1, zelle);
        }
    }
    if (teilnehmer > 0 && n > 0 && fehler == LXW_NO_ERROR) {
        // A formula of our own: the "text contains" rule of libxlsxwriter 1.1.4 points a range of
        // several columns at its last column instead of its first.
        char ecke[LXW_MAX_CELL_NAME_LENGTH];
        lxw_rowcol_to_cell(ecke, 1, lxw_col_t(erste));
        for (const auto &[zeichen, format] : {std::pair{Richtig, gut}, std::pair{Falsch, schlecht}}) {
            const QByteArray formel = QStringLiteral("ISNUMBER(SEARCH(\"%1\",%2))")
                                          .arg(zeichen.trimmed(), QLatin1String(ecke))
                                          .toUtf8();
            lxw_conditional_format regel{};
            regel.type = LXW_CONDITIONAL_TYPE_FORMULA;
            regel.value_string = const_cast<char *>(formel.constData());
            regel.format = format;
            if (fehler == LXW_NO_ERROR)
                fehler = worksheet_conditional_format_range(antworten.blatt(), 1, lxw_col_t(erste),
                                                            lxw_row_t(teilnehmer), lxw_col_t(erste + n - 1),
                                                            &regel);
        }
    }
    antworten.abschliessen(erste, umbruch);

    // Both rounds of the questions voted on twice: what each participant pressed, and whether the
    // answer went from wrong to right (green) or from right to wrong (red), said in words as well.
    if (daten.zweiRunden) {
        Blatt runden(mappe.get(), t("Runden", "Rounds"), fehler);
        QStringList titel{t("Geräte-ID", "Device-ID")};
        if (mitNamen)
            titel << QStringLiteral("Name");
        QList<int> nummern;
        for (int i = 1; i <= n; ++i) {
            if (daten.fragen.at(i - 1).zweiRunden) {
                nummern << i;
                titel << t("Frage ", "Question ") + QString::number(i);
            }
        }
        runden.kopf(titel, kopf);
        const QString keine = QStringLiteral("\u2013");
        for (qsizetype p = 0; p < teilnehmer; ++p) {
            const Person &person = daten.personen.at(p);
            const int zeile = int(p) + 1;
            runden.text(zeile, 0, geraet(daten, person));
            if (mitNamen)
                runden.text(zeile, 1, name(daten, person));
            for (int s = 0; s < nummern.size(); ++s) {
                const int i = nummern.at(s);
                const int vorher = daten.knoepfeErsteRunde.at(p).at(i);
                const int nachher = daten.knoepfe.at(p).at(i);
                if (vorher == 0 && nachher == 0)
                    continue;
                const Wechsel w = wechsel(daten, p, i);
                const QString zelle =
                    (vorher > 0 ? buchstabe(vorher) : keine) + QStringLiteral(" \u2192 ") +
                    (nachher > 0 ? buchstabe(nachher) : keine) +
                    (w == Wechsel::Keiner ? QString()
                                          : QStringLiteral(" (") + wechselText(w, en) + QLatin1Char(')'));
                runden.text(zeile, erste + s, zelle,
                            w == Wechsel::FalschZuRichtig   ? gut
                            : w == Wechsel::RichtigZuFalsch ? schlecht
                                                            : nullptr);
            }
        }
        runden.abschliessen(erste, umbruch);
    }

    // Labels such as "12" are names, not numbers; the spreadsheet is told not to warn about them.
    if (teilnehmer > 0 && fehler == LXW_NO_ERROR) {
        const QByteArray bis = QByteArray::number(teilnehmer + 1);
        fehler = worksheet_ignore_errors(rangliste.blatt(), LXW_IGNORE_NUMBER_STORED_AS_TEXT,
                                         QByteArray("B2:B" + bis).constData());
        if (fehler == LXW_NO_ERROR)
            fehler = worksheet_ignore_errors(antworten.blatt(), LXW_IGNORE_NUMBER_STORED_AS_TEXT,
                                             QByteArray("A2:A" + bis).constData());
    }

    const QString nr = QString::number(daten.aktuelleFrageNr) + QLatin1Char('/') + QString::number(n);
    const QByteArray titelText =
        (en ? QStringLiteral("Ranking list after ") + nr + QStringLiteral(" questions")
            : QStringLiteral("Rangliste nach ") + nr + QStringLiteral(" Fragen"))
            .toUtf8();
    const QString datei = QFileInfo(daten.frageFile).fileName();
    const QByteArray betreff =
        (t("Auswertung", "Evaluation") + (datei.isEmpty() ? QString() : QStringLiteral(": ") + datei))
            .toUtf8();
    lxw_doc_properties eigenschaften{};
    eigenschaften.title = const_cast<char *>(titelText.constData());
    eigenschaften.subject = const_cast<char *>(betreff.constData());
    eigenschaften.author = const_cast<char *>("Plenaro");
    eigenschaften.created = time_t(daten.zeitpunkt.toSecsSinceEpoch());
    const lxw_error e = workbook_set_properties(mappe.get(), &eigenschaften);
    if (fehler == LXW_NO_ERROR)
        fehler = e;

    if (fehler != LXW_NO_ERROR) {
        grund = QString::fromUtf8(lxw_strerror(fehler));
        return {};
    }
    errno = 0;
    // workbook_close frees the workbook whether it succeeds or not.
    const lxw_error geschlossen = workbook_close(mappe.release());
    if (geschlossen != LXW_NO_ERROR) {
        const int systemFehler = errno;
        grund = QString::fromUtf8(lxw_strerror(geschlossen));
        if (systemFehler != 0)
            grund += QStringLiteral(" (") + qt_error_string(systemFehler) + QLatin1Char(')');
        return {};
    }
    QFile fertig(QFile::decodeName(pfad));
    if (!fertig.open(QIODevice::ReadOnly)) {
        grund = fertig.errorString();
        return {};
    }
    const QByteArray bytes = fertig.readAll();
    if (bytes.isEmpty())
        grund = fertig.errorString();
    return bytes;
}

} // namespace

xlsxrangliste::xlsxrangliste(Dialoge &dialoge, QObject *eltern)
    : xlsxrangliste(dialoge, Uhr::system(), eltern)
{
}

xlsxrangliste::xlsxrangliste(Dialoge &dialoge, const Uhr &uhr, QObject *eltern)
    : QObject(eltern)
    , m_dialoge(dialoge)
    , m_uhr(uhr)
{
}

bool xlsxrangliste::ranglisteExportieren(QList<Person> personen, const Fragenkatalog *katalog,
                                         int anzahlFragen, int aktuelleFrageNr)
{
    const QDateTime jetzt = QDateTime::fromMSecsSinceEpoch(m_uhr.epochMs());
    // The workbook shares the CSV's remembered folder: both are the results for a spreadsheet.
    const QString ziel = zielWaehlen(m_dialoge, QStringLiteral("Export XLSX"), QStringLiteral("*.xlsx"),
                                     Schluessel::FilePathCSVRangliste, QStringLiteral(".xlsx"),
                                     Einstellungen::istEnglisch(), jetzt);
    if (ziel.isEmpty())
        return false;

    Melder melder(m_fortschritt);
    melder.weiter(0);
    Daten daten = zusammenstellen(std::move(personen), katalog, anzahlFragen, aktuelleFrageNr, jetzt);
    daten.namen = m_namen;
    QString grund;
    const QByteArray bytes = mappeSchreiben(daten, melder, grund);
    if (melder.abgebrochen())
        return false;
    if (bytes.isEmpty()) {
        fehlerMelden(m_dialoge, ziel, grund);
        return false;
    }
    if (!dateiSchreiben(m_dialoge, ziel, bytes))
        return false;
    Einstellungen::setzen(Schluessel::FilePathCSVRangliste, ordnerTeil(ziel));
    melder.weiter(100);
    return true;
}
