#include "referentenfenster.h"

#include "einstellungen.h"
#include "fragedatei.h"
#include "spiel.h"
#include "spielablauf.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace {

// A full lecture hall still fits in a few lines; the rest is only counted.
constexpr int MaxOffenGenannt = 150;

QLabel *textFeld(const QString &name, QWidget *eltern)
{
    auto *feld = new QLabel(eltern);
    feld->setObjectName(name);
    // Question texts, answers, names and notes come from files: shown as they are, never as markup.
    feld->setTextFormat(Qt::PlainText);
    feld->setWordWrap(true);
    return feld;
}

// What names a question for the teacher: its text, or its picture's file name when it has none.
QString frageText(const QDomElement &frage)
{
    const QString text = FrageDatei::feld(frage, QStringLiteral("QuestionText"));
    const QString bild = FrageDatei::feld(frage, QStringLiteral("PictureQuestionText"));
    if (!text.trimmed().isEmpty() || bild.isEmpty())
        return text;
    return QCoreApplication::translate("Referentenfenster", "[Bild: %1]")
        .arg(QFileInfo(QString(bild).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName());
}

} // namespace

Referentenfenster::Referentenfenster(const spiel &engine, const Spielablauf &ablauf, QWidget *eltern)
    : QWidget(eltern, Qt::Window)
    , m_spiel(engine)
{
    setObjectName(QStringLiteral("referentenfenster"));
    setWindowTitle(tr("Referentenansicht"));
    setAttribute(Qt::WA_QuitOnClose, false);
    // Opened from the menu on a single screen it is a window beside the page, not a full screen.
    resize(1100, 760);
    // Read at arm's length from the lectern.
    setStyleSheet(QStringLiteral("QLabel { font-size: 15pt; }"
                                 "QLabel#kopf, QLabel#countdown { font-size: 20pt; font-weight: bold; }"
                                 "QLabel#frage { font-size: 19pt; font-weight: bold; }"
                                 "QLabel#stand { font-size: 18pt; font-weight: bold; color: #1d3f72; }"
                                 "QLabel[richtig=\"true\"] { color: #0b6b2b; font-weight: bold; }"
                                 "QProgressBar { border: 1px solid #9aa4b1; border-radius: 4px; background: "
                                 "#eef1f5; min-height: 26px; }"
                                 "QProgressBar::chunk { background: #4a78c2; border-radius: 3px; }"
                                 "QProgressBar[richtig=\"true\"]::chunk { background: #2e9a4f; }"
                                 "QLabel#naechste, QLabel#offen { color: #333; }"));

    auto *spalten = new QVBoxLayout(this);
    auto *kopfzeile = new QHBoxLayout;
    m_kopf = textFeld(QStringLiteral("kopf"), this);
    m_countdown = textFeld(QStringLiteral("countdown"), this);
    m_countdown->setWordWrap(false);
    kopfzeile->addWidget(m_kopf, 1);
    kopfzeile->addWidget(m_countdown, 0, Qt::AlignRight);
    spalten->addLayout(kopfzeile);

    m_frage = textFeld(QStringLiteral("frage"), this);
    spalten->addWidget(m_frage);

    auto *antworten = new QGridLayout;
    antworten->setColumnStretch(0, 3);
    antworten->setColumnStretch(1, 2);
    for (int i = 0; i < 4; ++i) {
        auto *antwort = textFeld(QStringLiteral("antwort%1").arg(i + 1), this);
        auto *balken = new QProgressBar(this);
        balken->setObjectName(QStringLiteral("balken%1").arg(i + 1));
        balken->setTextVisible(false);
        auto *zahl = textFeld(QStringLiteral("zahl%1").arg(i + 1), this);
        zahl->setWordWrap(false);
        zahl->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000 (100 %)")) * 3 / 2);
        antworten->addWidget(antwort, i, 0);
        antworten->addWidget(balken, i, 1);
        antworten->addWidget(zahl, i, 2);
        m_antworten.append(antwort);
        m_balken.append(balken);
        m_zahlen.append(zahl);
    }
    spalten->addLayout(antworten);

    m_stand = textFeld(QStringLiteral("stand"), this);
    spalten->addWidget(m_stand);
    m_offen = textFeld(QStringLiteral("offen"), this);
    spalten->addWidget(m_offen);

    auto *notizen = new QGroupBox(tr("Notizen"), this);
    notizen->setObjectName(QStringLiteral("notizenRahmen"));
    auto *notizenInnen = new QVBoxLayout(notizen);
    m_notizen = textFeld(QStringLiteral("notizen"), notizen);
    m_notizen->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    notizenInnen->addWidget(m_notizen);
    spalten->addWidget(notizen, 1);

    m_naechste = textFeld(QStringLiteral("naechste"), this);
    spalten->addWidget(m_naechste);

    connect(&ablauf, &Spielablauf::stimmenVerbundenGeaendert, this, &Referentenfenster::stimmenGeaendert);
    connect(&engine, &spiel::timerSlotSpiel, this, [this](int counter, int) { countdownZeigen(counter); });
    connect(&engine, &spiel::countdownAbgelaufen, this, [this]() {
        m_laeuft = false;
        m_pausiert = false;
        m_countdown->setText(tr("Zeit abgelaufen"));
    });
    connect(&engine, &spiel::richtigeAntwortAnzeigen, this,
            [this]() { m_countdown->setText(tr("Ergebnis wird gezeigt")); });

    frageZeigen();
}

void Referentenfenster::showEvent(QShowEvent *ereignis)
{
    QWidget::showEvent(ereignis);
    emit sichtbarGeaendert(true);
}

void Referentenfenster::hideEvent(QHideEvent *ereignis)
{
    QWidget::hideEvent(ereignis);
    emit sichtbarGeaendert(false);
}

void Referentenfenster::namenSetzen(const Namensliste &namen)
{
    m_eintraege = namen.eintraege();
    m_mitKlassensatz.clear();
    m_ohneKlassensatz.clear();
    for (qsizetype i = 0; i < m_eintraege.size(); ++i) {
        const Namensliste::Eintrag &eintrag = m_eintraege.at(i);
        if (eintrag.mitKlassensatz)
            m_mitKlassensatz.insert(eintrag.geraet, i);
        else
            m_ohneKlassensatz.insert(eintrag.geraet.buzzerNo, i);
    }
    standZeigen();
}

void Referentenfenster::stimmenGeaendert(bool an, int frageNr)
{
    if (frageNr != m_frageNr) {
        m_frageNr = frageNr;
        m_laeuft = false;
        m_pausiert = false;
        m_gehoert.clear();
        // Back to no question: a new game, whose participants report in afresh.
        if (frageNr == 0)
            m_bekannt.clear();
        frageZeigen();
    }
    if (an && frageNr > 0) {
        // Presses count again after a pause, or from nothing for a countdown that starts now (a
        // question asked again starts from nothing too).
        if (!m_pausiert) {
            m_gehoert.clear();
            countdownZeigen(
                FrageDatei::zahl(m_spiel.getFragenkatalog().getFrage(frageNr), QStringLiteral("Time")));
        } else {
            m_countdown->setText(QString());
        }
        m_laeuft = true;
        m_pausiert = false;
    } else if (!an && m_laeuft) {
        m_pausiert = m_spiel.istPausiert();
        m_laeuft = m_pausiert;
        if (m_pausiert)
            m_countdown->setText(tr("Pause"));
    }
    standZeigen();
}

void Referentenfenster::druckAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo)
{
    const GeraetSchluessel geraet{klassensatz, buzzerNo};
    m_bekannt.insert(geraet);
    if (m_laeuft && !m_pausiert && m_frageNr > 0) {
        // The last press counts, as in the game; a button the question has no answer for counts
        // as answered but in no share.
        const bool fehlt = (buttonNo == 3 && (m_fehlend == 2 || m_fehlend == 3)) ||
                           (buttonNo == 4 && (m_fehlend == 1 || m_fehlend == 3));
        int &knopf = m_gehoert[geraet];
        if (buttonNo >= 1 && buttonNo <= 4 && !fehlt)
            knopf = int(buttonNo);
    }
    standZeigen();
}

void Referentenfenster::countdownZeigen(int counter)
{
    if (m_laeuft || counter > 0)
        m_countdown->setText(tr("noch %1 s").arg(std::max(0, counter)));
}

void Referentenfenster::frageZeigen()
{
    const Fragenkatalog &katalog = m_spiel.getFragenkatalog();
    const QDomElement frage = katalog.getFrage(m_frageNr);
    m_countdown->clear();
    if (frage.isNull()) {
        m_kopf->setText(tr("Noch keine Frage"));
        m_frage->clear();
        for (QLabel *antwort : std::as_const(m_antworten))
            antwort->clear();
        m_richtig = 0;
        m_fehlend = 0;
    } else {
        m_kopf->setText(tr("Frage %1 von %2").arg(m_frageNr).arg(katalog.getAnzahlFragen()));
        m_frage->setText(frageText(frage));
        // Marked from the start: the teacher knows where the class is heading.
        m_richtig = FrageDatei::richtigerKnopf(FrageDatei::feld(frage, FrageDatei::Loesung));
        m_fehlend = katalog.fehlendeAntworten(m_frageNr);
        for (int i = 0; i < 4; ++i) {
            const QString text = FrageDatei::feld(frage, QStringLiteral("Answer%1").arg(i + 1));
            const QString buchstabe = QString(QChar(u'A' + i));
            m_antworten[i]->setText(i + 1 == m_richtig ? QStringLiteral("✓ %1  %2").arg(buchstabe, text)
                                                       : QStringLiteral("%1  %2").arg(buchstabe, text));
        }
    }
    const bool fehlt3 = m_fehlend == 2 || m_fehlend == 3;
    const bool fehlt4 = m_fehlend == 1 || m_fehlend == 3;
    for (int i = 0; i < 4; ++i) {
        const bool zeigen = !frage.isNull() && !(i == 2 && fehlt3) && !(i == 3 && fehlt4);
        for (QWidget *feld : std::initializer_list<QWidget *>{m_antworten[i], m_balken[i], m_zahlen[i]}) {
            feld->setVisible(zeigen);
            feld->setProperty("richtig", i + 1 == m_richtig);
            // A property the style sheet asks for applies only when the style looks again.
            feld->style()->unpolish(feld);
            feld->style()->polish(feld);
        }
    }
    const QString notizen = katalog.notizen(m_frageNr);
    m_notizen->setText(notizen);
    m_notizen->parentWidget()->setVisible(!notizen.isEmpty());
    // Before the first question, the first one is next.
    const QDomElement naechste = katalog.getFrage(std::max(m_frageNr, 0) + 1);
    m_naechste->setText(naechste.isNull() ? tr("Nächste Frage: keine, dies ist die letzte.")
                                          : tr("Nächste Frage: %1").arg(frageText(naechste)));
    standZeigen();
}

void Referentenfenster::standZeigen()
{
    m_anzahl = {0, 0, 0, 0};
    for (const int knopf : std::as_const(m_gehoert)) {
        if (knopf >= 1 && knopf <= 4)
            ++m_anzahl[knopf - 1];
    }
    const int summe = m_anzahl[0] + m_anzahl[1] + m_anzahl[2] + m_anzahl[3];
    for (int i = 0; i < 4; ++i) {
        m_balken[i]->setRange(0, std::max(1, summe));
        m_balken[i]->setValue(m_anzahl[i]);
        m_zahlen[i]->setText(QStringLiteral("%1 (%2 %)")
                                 .arg(m_anzahl[i])
                                 .arg(summe > 0 ? qRound(m_anzahl[i] * 100.0 / summe) : 0));
    }

    // Without a roster, those expected to answer are the participants known so far in this
    // game: every handset or phone that reported in on the start screen or pressed in any
    // question. A handset that never pressed is unknown to the program. With a roster, everyone
    // on it is expected, and known handsets that are not on it as well.
    QSet<GeraetSchluessel> bekannt = m_bekannt;
    for (const Person &person : m_spiel.getPersonen())
        bekannt.insert({person.getKlassensatz(), person.getBuzzerNo()});
    QSet<uint> saetze;
    for (const GeraetSchluessel &geraet : std::as_const(bekannt)) {
        if (!istHandy(geraet.klassensatz))
            saetze.insert(geraet.klassensatz);
    }
    const bool mitKlassensatz = saetze.size() > 1;
    const bool englisch = Einstellungen::istEnglisch();

    QList<bool> eintragBeantwortet(m_eintraege.size(), false);
    QList<GeraetSchluessel> offenOhneNamen;
    int gesamt = int(m_eintraege.size());
    int beantwortet = 0;
    for (const GeraetSchluessel &geraet : std::as_const(bekannt)) {
        qsizetype eintrag = m_mitKlassensatz.value(geraet, -1);
        if (eintrag < 0)
            eintrag = m_ohneKlassensatz.value(geraet.buzzerNo, -1);
        const bool gehoert = m_gehoert.contains(geraet);
        if (eintrag >= 0) {
            eintragBeantwortet[eintrag] = eintragBeantwortet[eintrag] || gehoert;
            continue;
        }
        ++gesamt;
        if (gehoert)
            ++beantwortet;
        else
            offenOhneNamen.append(geraet);
    }
    QStringList offen;
    for (qsizetype i = 0; i < m_eintraege.size(); ++i) {
        if (eintragBeantwortet[i])
            ++beantwortet;
        else
            offen.append(m_eintraege[i].name);
    }
    std::sort(offenOhneNamen.begin(), offenOhneNamen.end(), [](GeraetSchluessel a, GeraetSchluessel b) {
        return std::tie(a.klassensatz, a.buzzerNo) < std::tie(b.klassensatz, b.buzzerNo);
    });
    for (const GeraetSchluessel &geraet : std::as_const(offenOhneNamen))
        offen.append(geraetText(geraet.klassensatz, geraet.buzzerNo, mitKlassensatz, englisch));

    m_stand->setText(tr("%n von %1 haben geantwortet", nullptr, beantwortet).arg(gesamt));
    const qsizetype weitere = offen.size() - MaxOffenGenannt;
    if (weitere > 0) {
        offen.resize(MaxOffenGenannt);
        offen.append(tr("und %n weitere", nullptr, int(weitere)));
    }
    m_offen->setText(
        offen.isEmpty() ? QString() : tr("Noch nicht geantwortet: %1").arg(offen.join(QStringLiteral(", "))));
}
