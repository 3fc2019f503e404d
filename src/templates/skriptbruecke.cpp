#include "skriptbruecke.h"

#include <algorithm>

SkriptBruecke::SkriptBruecke()
    : m_wecker(std::make_unique<QObject>())
{
}

SkriptBruecke::~SkriptBruecke() = default;

void SkriptBruecke::ausfuehren(const Anweisung &anweisung)
{
    if (m_warteschlange.isEmpty())
        QMetaObject::invokeMethod(
            m_wecker.get(), [this]() { senden(); }, Qt::QueuedConnection);
    m_warteschlange.append(anweisung.skript());
}

void SkriptBruecke::auswerten(const Anweisung &ausdruck, Antwort antwort)
{
    senden();
    lesenSenden(ausdruck.skript(), std::move(antwort));
}

void SkriptBruecke::senden()
{
    if (m_warteschlange.isEmpty())
        return;
    stapelSenden(std::exchange(m_warteschlange, {}));
}

void SkriptBruecke::seiteLaden(const QUrl &seite)
{
    senden();
    seiteOeffnen(seite);
}

void SkriptBruecke::setZoomFaktor(double faktor)
{
    m_zoom = std::clamp(faktor, MinZoom, MaxZoom);
    zoomAnwenden(m_zoom);
}

namespace {

class BrueckeOhneSeite final : public SkriptBruecke
{
public:
    void verlaufAbschalten() override {}
    int hoehe() const override { return 0; }

protected:
    void stapelSenden(const QStringList &) override {}
    void lesenSenden(const QString &, Antwort) override {}
    void seiteOeffnen(const QUrl &) override {}
    void zoomAnwenden(double) override {}
};

} // namespace

SkriptBruecke &SkriptBruecke::ohneSeite()
{
    static BrueckeOhneSeite bruecke;
    return bruecke;
}

SkriptBruecke::Antwort Antwortwache::aktuell(std::function<void(const QVariant &)> weiter) const
{
    return [runde = std::weak_ptr<int>(m_runde), damals = *m_runde,
            weiter = std::move(weiter)](const QVariant &wert) {
        const std::shared_ptr<int> jetzt = runde.lock();
        if (jetzt && *jetzt == damals)
            weiter(wert);
    };
}

SkriptBruecke::Antwort Antwortwache::lebendig(std::function<void(const QVariant &, bool)> weiter) const
{
    return [runde = std::weak_ptr<int>(m_runde), damals = *m_runde,
            weiter = std::move(weiter)](const QVariant &wert) {
        if (const std::shared_ptr<int> jetzt = runde.lock())
            weiter(wert, *jetzt == damals);
    };
}
