#include "handyserver.h"

#include "empfangsfilter.h"
#include "geraetschluessel.h"
#include "handyprotokoll.h"
#include "handyseiten.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QUrlQuery>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/v6_only.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <pthread.h>
#include <sys/resource.h>

#include <deque>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace {

Q_LOGGING_CATEGORY(lcHandy, "plenaro.handy")

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Uhr = std::chrono::steady_clock;
using Anfrage = http::request<http::empty_body>;

constexpr const char *Sicherheitsregeln =
    "default-src 'self'; connect-src 'self' ws: wss:; img-src 'self' data:; frame-ancestors 'none'";

struct Datei
{
    std::string_view pfad;
    const char *resource;
    const char *typ;
};

// Everything the server ever hands out. The address is compared as a whole; nothing of it is
// turned into a path, so no address reaches a file that is not in this list.
constexpr Datei Dateien[] = {
    {"/", ":/handy/abstimmung.html", "text/html; charset=utf-8"},
    {"/abstimmung.css", ":/handy/abstimmung.css", "text/css; charset=utf-8"},
    {"/abstimmung.js", ":/handy/abstimmung.js", "text/javascript; charset=utf-8"},
};

std::string zufallsToken()
{
    QString token;
    for (int i = 0; i < 4; ++i)
        token += QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    return token.toStdString();
}

std::string_view sv(beast::string_view text)
{
    return {text.data(), text.size()};
}

std::string klein(std::string_view text)
{
    std::string ergebnis(text);
    std::transform(ergebnis.begin(), ergebnis.end(), ergebnis.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ergebnis;
}

QString abfrageWert(std::string_view ziel, const QString &name)
{
    const auto frage = ziel.find('?');
    if (frage == std::string_view::npos)
        return {};
    const QUrlQuery abfrage(QString::fromLatin1(ziel.data() + frage + 1, qsizetype(ziel.size() - frage - 1)));
    return abfrage.queryItemValue(name, QUrl::FullyDecoded);
}

std::string_view pfadVon(std::string_view ziel)
{
    return ziel.substr(0, ziel.find('?'));
}

// A connection's share of the caps, given back when the connection ends, whichever object then
// holds it.
class Platz final
{
public:
    Platz(std::unordered_map<std::string, int> &jeAdresse, int &insgesamt, std::string adresse)
        : m_jeAdresse(&jeAdresse)
        , m_insgesamt(&insgesamt)
        , m_adresse(std::move(adresse))
    {
        ++(*m_jeAdresse)[m_adresse];
        ++*m_insgesamt;
    }
    Platz(Platz &&andere) noexcept
        : m_jeAdresse(std::exchange(andere.m_jeAdresse, nullptr))
        , m_insgesamt(andere.m_insgesamt)
        , m_adresse(std::move(andere.m_adresse))
    {
    }
    Platz(const Platz &) = delete;
    Platz &operator=(const Platz &) = delete;
    Platz &operator=(Platz &&) = delete;
    ~Platz()
    {
        if (!m_jeAdresse)
            return;
        --*m_insgesamt;
        if (--(*m_jeAdresse)[m_adresse] <= 0)
            m_jeAdresse->erase(m_adresse);
    }
    const std::string &adresse() const { return m_adresse; }

private:
    std::unordered_map<std::string, int> *m_jeAdresse;
    int *m_insgesamt;
    std::string m_adresse;
};

} // namespace

class HandyServer::Netz final
{
public:
    explicit Netz(HandyServer &server);
    ~Netz();
    Q_DISABLE_COPY_MOVE(Netz)

    template<typename F>
    void auftrag(F &&f)
    {
        asio::post(m_io, std::forward<F>(f));
    }

    void starten(const QHostAddress &adresse, quint16 port);
    void stoppen();
    void codeSetzen(const QString &code);
    void frageSetzen(bool offen, int frage, int runde);
    void anAlle(const std::string &text);
    std::string frageNachricht() const;

    class Sitzung;
    class HttpSitzung;
    class WsSitzung;
    struct Geraet
    {
        uint nummer = 0;
        std::weak_ptr<WsSitzung> socket;
        std::string adresse;
        Uhr::time_point weg{};
    };
    // Coalesces a growing count into at most one signal a second.
    struct Melder
    {
        explicit Melder(asio::io_context &io)
            : zeit(io)
        {
        }
        asio::steady_timer zeit;
        Uhr::time_point letzte{};
        bool wartet = false;
        quint64 stand = 0;
    };
    struct Fehlversuche
    {
        int anzahl = 0;
        Uhr::time_point frei{};
    };

    void annehmen();
    bool hostErlaubt(std::string_view host) const;
    bool gesperrt(const std::string &adresse) const;
    void fehlversuch(const std::string &adresse);
    void melden(Melder &melder, void (HandyServer::*signal)(quint64));
    void anmelden(const std::shared_ptr<WsSitzung> &sitzung, std::string_view ziel);
    void nachricht(WsSitzung &sitzung, const std::string &text);
    void getrennt(WsSitzung &sitzung);
    void vergesseneFreigeben();
    uint freieNummer() const;

    HandyServer &m_server;
    // Game state; touched on the network thread only.
    HandyGrenzen m_grenzen;
    QString m_code;
    bool m_offen = false;
    int m_frage = 0;
    // A question asked again is a new vote: phones forget what they chose in the first round.
    int m_runde = 1;
    bool m_englisch = false;
    QString m_vorlage;
    int m_nummernJeAdresse = 4;
    std::unordered_set<std::string> m_rechner;         // announced host names, lower case
    std::unordered_map<std::string, Geraet> m_geraete; // by token
    QSet<uint> m_vergeben;
    std::unordered_map<std::string, Fehlversuche> m_fehlversuche; // by address
    EmpfangsFilter m_filter;
    Uhr::time_point m_beginn = Uhr::now();
    std::string m_dateien[std::size(Dateien)];
    std::unordered_map<std::string, int> m_jeAdresse;
    int m_verbindungen = 0;
    int m_hoechstens = HandyProtokoll::HoechstensInsgesamt;
    std::unordered_set<Sitzung *> m_sitzungen;
    std::unordered_set<WsSitzung *> m_beigetreten;
    quint16 m_port = 0;
    std::string m_lauschAdresse;

    // Declared after the state: handlers the loop still holds end their sessions when it goes,
    // and those give their places back.
    asio::io_context m_io{1};
    asio::executor_work_guard<asio::io_context::executor_type> m_arbeit = asio::make_work_guard(m_io);
    std::unique_ptr<tcp::acceptor> m_empfang;
    asio::steady_timer m_pause{m_io};
    Melder m_abgewiesen{m_io};
    Melder m_gedrosselt{m_io};
    std::thread m_faden;
};

class HandyServer::Netz::Sitzung
{
public:
    explicit Sitzung(Netz &netz)
        : m_netz(netz)
    {
        m_netz.m_sitzungen.insert(this);
    }
    virtual ~Sitzung() { m_netz.m_sitzungen.erase(this); }
    Q_DISABLE_COPY_MOVE(Sitzung)
    // Drops the connection at once; the pending operations end with an error and the session
    // goes with them.
    virtual void abbrechen() = 0;

protected:
    Netz &m_netz;
};

class HandyServer::Netz::WsSitzung final : public Sitzung, public std::enable_shared_from_this<WsSitzung>
{
public:
    WsSitzung(Netz &netz, beast::tcp_stream &&strom, Platz &&platz)
        : Sitzung(netz)
        , m_ws(std::move(strom))
        , m_platz(std::move(platz))
    {
    }
    ~WsSitzung() override { m_netz.m_beigetreten.erase(this); }

    void starten(const Anfrage &anfrage)
    {
        beast::get_lowest_layer(m_ws).expires_never();
        websocket::stream_base::timeout zeiten{};
        // Also the limit for a close handshake the other side leaves unanswered.
        zeiten.handshake_timeout = m_netz.m_grenzen.schlussZeit;
        zeiten.idle_timeout = m_netz.m_grenzen.pingZeit;
        zeiten.keep_alive_pings = true;
        m_ws.set_option(zeiten);
        m_ws.read_message_max(HandyProtokoll::HoechsteNachricht);
        m_ws.control_callback([this](websocket::frame_type art, beast::string_view) {
            if (art != websocket::frame_type::ping)
                return;
            const auto jetzt = Uhr::now();
            if (jetzt - m_pingFenster >= std::chrono::seconds(1)) {
                m_pingFenster = jetzt;
                m_pings = 0;
            }
            // Every ping costs an answer; a peer that pings beyond any keep-alive is dropped.
            if (++m_pings > m_netz.m_grenzen.pingsJeSekunde)
                asio::post(m_netz.m_io, [selbst = shared_from_this()]() { selbst->abbrechen(); });
        });
        const std::string ziel(anfrage.target());
        m_ws.async_accept(anfrage, [selbst = shared_from_this(), ziel](beast::error_code fehler) {
            if (fehler)
                return;
            selbst->m_netz.anmelden(selbst, ziel);
            selbst->lesen();
        });
    }

    void senden(std::string text)
    {
        if (m_zu)
            return;
        m_wartend += text.size();
        if (m_wartend > m_netz.m_grenzen.wartendeBytes) {
            abbrechen();
            return;
        }
        m_ausgang.push_back(std::move(text));
        if (m_ausgang.size() == 1)
            schreiben();
    }

    void schliessen(quint16 code)
    {
        if (m_zu)
            return;
        m_zu = true;
        m_ws.async_close(websocket::close_reason(std::uint16_t(code)),
                         [selbst = shared_from_this()](beast::error_code) {});
    }

    void abbrechen() override
    {
        m_zu = true;
        beast::error_code egal;
        beast::get_lowest_layer(m_ws).socket().close(egal);
    }

    const std::string &adresse() const { return m_platz.adresse(); }
    std::string token;

private:
    void lesen()
    {
        m_ws.async_read(m_eingang, [selbst = shared_from_this()](beast::error_code fehler, std::size_t) {
            if (fehler) {
                selbst->m_netz.getrennt(*selbst);
                return;
            }
            if (selbst->m_ws.got_text() && !selbst->m_zu)
                selbst->m_netz.nachricht(*selbst, beast::buffers_to_string(selbst->m_eingang.data()));
            selbst->m_eingang.consume(selbst->m_eingang.size());
            selbst->lesen();
        });
    }

    void schreiben()
    {
        m_ws.text(true);
        m_ws.async_write(asio::buffer(m_ausgang.front()),
                         [selbst = shared_from_this()](beast::error_code fehler, std::size_t) {
                             selbst->m_wartend -= selbst->m_ausgang.front().size();
                             selbst->m_ausgang.pop_front();
                             if (fehler) {
                                 selbst->m_ausgang.clear();
                                 selbst->m_wartend = 0;
                                 return;
                             }
                             if (!selbst->m_ausgang.empty())
                                 selbst->schreiben();
                         });
    }

    websocket::stream<beast::tcp_stream> m_ws;
    Platz m_platz;
    beast::flat_buffer m_eingang;
    std::deque<std::string> m_ausgang;
    std::size_t m_wartend = 0;
    bool m_zu = false;
    Uhr::time_point m_pingFenster{};
    int m_pings = 0;
};

class HandyServer::Netz::HttpSitzung final : public Sitzung, public std::enable_shared_from_this<HttpSitzung>
{
public:
    HttpSitzung(Netz &netz, tcp::socket &&socket, Platz &&platz)
        : Sitzung(netz)
        , m_strom(std::move(socket))
        , m_platz(std::move(platz))
        , m_puffer(netz.m_grenzen.kopfBytes)
    {
    }

    // The first request must be complete within the header time from the connection on.
    void starten() { kopfLesen(); }

    void abbrechen() override
    {
        beast::error_code egal;
        m_strom.socket().close(egal);
    }

private:
    void naechste()
    {
        if (m_puffer.size() > 0) {
            kopfLesen();
            return;
        }
        // Idle between requests: the first byte of the next one starts the header time.
        m_strom.expires_after(m_netz.m_grenzen.leerlauf);
        m_strom.async_read_some(m_puffer.prepare(m_puffer.max_size()),
                                [selbst = shared_from_this()](beast::error_code fehler, std::size_t n) {
                                    if (fehler)
                                        return;
                                    selbst->m_puffer.commit(n);
                                    selbst->kopfLesen();
                                });
    }

    void kopfLesen()
    {
        m_parser.emplace();
        m_parser->header_limit(std::uint32_t(m_netz.m_grenzen.kopfBytes));
        m_strom.expires_after(m_netz.m_grenzen.kopfZeit);
        http::async_read_header(m_strom, m_puffer, *m_parser,
                                [selbst = shared_from_this()](beast::error_code fehler, std::size_t) {
                                    selbst->gelesen(fehler);
                                });
    }

    void gelesen(beast::error_code fehler)
    {
        if (fehler == http::error::header_limit || fehler == http::error::buffer_overflow) {
            // The request line is taken out of the buffer once complete.
            const bool zeileZuLang = m_parser->get().target().empty();
            antworten(zeileZuLang ? http::status::uri_too_long
                                  : http::status::request_header_fields_too_large,
                      "", true);
            return;
        }
        if (fehler.category() == http::make_error_code(http::error::bad_version).category() &&
            fehler != http::error::end_of_stream && fehler != http::error::partial_message) {
            antworten(http::status::bad_request, "", true);
            return;
        }
        if (fehler)
            return; // closed, timed out or cut: nothing to answer
        const Anfrage &anfrage = m_parser->get();
        if (anfrage.version() != 10 && anfrage.version() != 11) {
            antworten(http::status::bad_request, "", true);
            return;
        }
        // Nothing here takes a body; one is not read, so the connection cannot go on.
        if (!m_parser->is_done() || m_parser->chunked()) {
            antworten(http::status::payload_too_large, "", true);
            return;
        }
        if (anfrage.count(http::field::transfer_encoding) != 0) {
            antworten(http::status::bad_request, "", true);
            return;
        }
        const auto host = anfrage[http::field::host];
        if (anfrage.count(http::field::host) != 1 || !m_netz.hostErlaubt(sv(host))) {
            antworten(http::status::misdirected_request, "", true);
            return;
        }
        const std::string_view ziel(anfrage.target().data(), anfrage.target().size());
        const std::string_view pfad = pfadVon(ziel);
        if (websocket::is_upgrade(anfrage)) {
            if (pfad != "/ws") {
                antworten(http::status::not_found, "", true);
                return;
            }
            // A page elsewhere must not open the socket in a phone's browser: only this page's
            // own origin may.
            const auto herkunft = anfrage[http::field::origin];
            if (anfrage.count(http::field::origin) != 1 ||
                klein(sv(herkunft)) != "http://" + klein(sv(host))) {
                antworten(http::status::forbidden, "", true);
                return;
            }
            auto ws = std::make_shared<WsSitzung>(m_netz, std::move(m_strom), std::move(m_platz));
            ws->starten(anfrage);
            return;
        }
        if (anfrage.method() != http::verb::get) {
            antworten(http::status::method_not_allowed, "", false);
            return;
        }
        const auto datei = std::find_if(std::begin(Dateien), std::end(Dateien),
                                        [&](const Datei &d) { return d.pfad == pfad; });
        if (datei == std::end(Dateien)) {
            antworten(http::status::not_found,
                      HandySeiten::nichtGefunden(m_netz.m_englisch, m_netz.m_vorlage), false, Dateien[0].typ);
            return;
        }
        if (datei == std::begin(Dateien)) {
            // A guesser is answered without looking at the code, and without a signal.
            if (m_netz.gesperrt(m_platz.adresse())) {
                antworten(http::status::too_many_requests, "", false);
                return;
            }
            if (m_netz.m_code.isEmpty() || abfrageWert(ziel, QStringLiteral("c")) != m_netz.m_code) {
                m_netz.fehlversuch(m_platz.adresse());
                antworten(http::status::forbidden,
                          HandySeiten::falscherCode(m_netz.m_englisch, m_netz.m_vorlage), false,
                          Dateien[0].typ);
                return;
            }
            antworten(http::status::ok,
                      HandySeiten::abstimmung(m_netz.m_dateien[0], m_netz.m_englisch, m_netz.m_vorlage),
                      false, datei->typ);
            return;
        }
        antworten(http::status::ok, m_netz.m_dateien[std::size_t(datei - std::begin(Dateien))], false,
                  datei->typ);
    }

    void antworten(http::status status, std::string_view inhalt, bool schliessen,
                   const char *typ = "text/plain; charset=utf-8")
    {
        const bool behalten = !schliessen && m_parser && m_parser->get().keep_alive();
        m_antwort.emplace(status, m_parser ? m_parser->get().version() : 11);
        // The page address carries the join code: it must not leave in a referrer, and nothing is
        // to be cached on a phone that joins a different game tomorrow.
        m_antwort->set(http::field::content_type, typ);
        m_antwort->set(http::field::cache_control, "no-store");
        m_antwort->set("X-Content-Type-Options", "nosniff");
        m_antwort->set("Referrer-Policy", "no-referrer");
        m_antwort->set("Content-Security-Policy", Sicherheitsregeln);
        if (status == http::status::too_many_requests)
            m_antwort->set(http::field::retry_after, "60");
        m_antwort->body() = std::string(inhalt);
        m_antwort->keep_alive(behalten);
        m_antwort->prepare_payload();
        // A client that does not read holds one answer, and only for this long.
        m_strom.expires_after(m_netz.m_grenzen.schreibZeit);
        http::async_write(m_strom, *m_antwort,
                          [selbst = shared_from_this(), behalten](beast::error_code fehler, std::size_t) {
                              if (fehler)
                                  return;
                              if (behalten)
                                  selbst->naechste();
                              else
                                  selbst->ausklingen();
                          });
    }

    // Closing with unread bytes would reset the connection and could take the answer with it: the
    // rest is read and dropped, within bounds, until the other side closes too.
    void ausklingen()
    {
        beast::error_code egal;
        m_strom.socket().shutdown(tcp::socket::shutdown_send, egal);
        if (m_verworfen == 0)
            m_strom.expires_after(m_netz.m_grenzen.kopfZeit);
        m_puffer.consume(m_puffer.size());
        m_strom.async_read_some(m_puffer.prepare(m_puffer.max_size()),
                                [selbst = shared_from_this()](beast::error_code fehler, std::size_t n) {
                                    selbst->m_verworfen += n + 1;
                                    if (!fehler && selbst->m_verworfen < 65536)
                                        selbst->ausklingen();
                                });
    }

    beast::tcp_stream m_strom;
    Platz m_platz;
    beast::flat_buffer m_puffer;
    std::optional<http::request_parser<http::empty_body>> m_parser;
    std::optional<http::response<http::string_body>> m_antwort;
    std::size_t m_verworfen = 0;
};

HandyServer::Netz::Netz(HandyServer &server)
    : m_server(server)
{
    for (std::size_t i = 0; i < std::size(Dateien); ++i) {
        QFile quelle(QString::fromLatin1(Dateien[i].resource));
        if (quelle.open(QIODevice::ReadOnly))
            m_dateien[i] = quelle.readAll().toStdString();
        else
            qCWarning(lcHandy) << "Fehlt:" << quelle.fileName();
    }
    m_faden = std::thread([this]() {
#ifdef Q_OS_LINUX
        // Named, so the system's thread lists and a profiler tell the network from the window.
        pthread_setname_np(pthread_self(), "Handynetz");
#endif
        m_io.run();
    });
}

HandyServer::Netz::~Netz()
{
    m_io.stop();
    m_faden.join();
}

void HandyServer::Netz::starten(const QHostAddress &adresse, quint16 port)
{
    stoppen();
    // Every connection may need a second descriptor (a file, a resolver), and the program keeps
    // some for itself: the cap stays well below the soft limit of open files.
    rlimit grenze{};
    m_hoechstens = HandyProtokoll::HoechstensInsgesamt;
    if (getrlimit(RLIMIT_NOFILE, &grenze) == 0 && grenze.rlim_cur != RLIM_INFINITY)
        m_hoechstens = std::clamp(int((qint64(grenze.rlim_cur) - 256) / 2), 16, m_hoechstens);

    beast::error_code fehler;
    tcp::endpoint ende;
    const bool ueberall = adresse == QHostAddress::Any;
    if (ueberall)
        ende = tcp::endpoint(tcp::v6(), port);
    else if (adresse == QHostAddress::AnyIPv4)
        ende = tcp::endpoint(tcp::v4(), port);
    else
        ende = tcp::endpoint(asio::ip::make_address(adresse.toString().toStdString(), fehler), port);
    auto empfang = std::make_unique<tcp::acceptor>(m_io);
    const auto oeffnen = [&](const tcp::endpoint &e) {
        fehler = {};
        empfang->close(fehler);
        empfang->open(e.protocol(), fehler);
        if (!fehler && e.protocol() == tcp::v6())
            empfang->set_option(asio::ip::v6_only(!ueberall), fehler);
        if (!fehler)
            empfang->set_option(tcp::acceptor::reuse_address(true), fehler);
        if (!fehler)
            empfang->bind(e, fehler);
        if (!fehler)
            empfang->listen(asio::socket_base::max_listen_connections, fehler);
    };
    if (!fehler)
        oeffnen(ende);
    // A machine without IPv6 still serves every IPv4 interface.
    if (fehler && ueberall && fehler != asio::error::address_in_use)
        oeffnen(tcp::endpoint(tcp::v4(), port));
    if (fehler) {
        const QString grund = QString::fromStdString(fehler.message());
        qCWarning(lcHandy) << "Port" << port << "nicht geöffnet:" << grund;
        emit m_server.fehlgeschlagen(grund);
        return;
    }
    m_empfang = std::move(empfang);
    m_port = m_empfang->local_endpoint().port();
    m_lauschAdresse.clear();
    if (!ueberall && adresse != QHostAddress::AnyIPv4) {
        const auto a = ende.address();
        m_lauschAdresse = a.is_v6() ? "[" + klein(a.to_string()) + "]" : a.to_string();
    }
    qCInfo(lcHandy) << "Abstimmung mit Handys auf Port" << m_port;
    annehmen();
    emit m_server.gestartet(m_port);
}

void HandyServer::Netz::annehmen()
{
    m_empfang->async_accept([this, empfang = m_empfang.get()](beast::error_code fehler, tcp::socket socket) {
        if (empfang != m_empfang.get() || fehler == asio::error::operation_aborted)
            return;
        if (fehler) {
            // Out of descriptors, say: try again shortly rather than spin.
            m_pause.expires_after(std::chrono::milliseconds(50));
            m_pause.async_wait([this, empfang](beast::error_code f) {
                if (!f && empfang == m_empfang.get())
                    annehmen();
            });
            return;
        }
        annehmen();
        beast::error_code egal;
        auto von = socket.remote_endpoint(egal).address();
        if (von.is_v6() && von.to_v6().is_v4_mapped())
            von = asio::ip::make_address_v4(asio::ip::v4_mapped, von.to_v6());
        std::string adresse = von.to_string();
        const auto dort = m_jeAdresse.find(adresse);
        // Refused before a byte is read.
        if (m_verbindungen >= m_hoechstens ||
            (dort != m_jeAdresse.end() && dort->second >= HandyProtokoll::HoechstensJeAdresse))
            return;
        // The system keeps no more than this of our answers for a client that does not read; the
        // write that cannot hand over the rest then times out, and the connection goes.
        socket.set_option(asio::socket_base::send_buffer_size(int(m_grenzen.wartendeBytes)), egal);
        auto sitzung = std::make_shared<HttpSitzung>(*this, std::move(socket),
                                                     Platz(m_jeAdresse, m_verbindungen, std::move(adresse)));
        sitzung->starten();
    });
}

void HandyServer::Netz::stoppen()
{
    if (m_empfang) {
        beast::error_code egal;
        m_empfang->close(egal);
        m_empfang.reset();
    }
    m_pause.cancel();
    const std::vector<Sitzung *> alle(m_sitzungen.cbegin(), m_sitzungen.cend());
    for (Sitzung *sitzung : alle)
        sitzung->abbrechen();
    m_port = 0;
}

bool HandyServer::Netz::hostErlaubt(std::string_view host) const
{
    std::string name = klein(host);
    quint16 port = 80;
    const auto klammer = name.rfind(']');
    const auto doppelpunkt = name.rfind(':');
    if (doppelpunkt != std::string::npos && (klammer == std::string::npos || doppelpunkt > klammer)) {
        bool zahl = false;
        port = QString::fromStdString(name.substr(doppelpunkt + 1)).toUShort(&zahl);
        if (!zahl)
            return false;
        name.resize(doppelpunkt);
    }
    if (port != m_port)
        return false;
    return name == "127.0.0.1" || name == "localhost" || name == "[::1]" ||
           (!m_lauschAdresse.empty() && name == m_lauschAdresse) || m_rechner.count(name) != 0;
}

// Codes are 6 characters from 32 (HandyAbstimmung::zufallsCode): 32^6 = 2^30, about 1.07e9. An
// address has 10 free guesses; after that the k-th further one must wait 2^(k-1) times the first
// wait (1 s), so k further guesses take 2^k - 1 s. Within 45 minutes (2700 s) that allows k <= 11:
// at most 21 guesses, a chance of 21 / 1.07e9, about 2e-8 < 1e-6 per address.
bool HandyServer::Netz::gesperrt(const std::string &adresse) const
{
    const auto it = m_fehlversuche.find(adresse);
    return it != m_fehlversuche.end() && Uhr::now() < it->second.frei;
}

void HandyServer::Netz::fehlversuch(const std::string &adresse)
{
    if (m_fehlversuche.size() >= 4096) {
        // Addresses that wait for nothing are forgotten first, so the table stays bounded.
        for (auto it = m_fehlversuche.begin(); it != m_fehlversuche.end();)
            it = Uhr::now() >= it->second.frei ? m_fehlversuche.erase(it) : std::next(it);
    }
    Fehlversuche &f = m_fehlversuche[adresse];
    ++f.anzahl;
    const int stufe = f.anzahl - m_grenzen.freieFehlversuche;
    if (stufe >= 0) {
        const auto warten = std::min<HandyGrenzen::ms>(
            m_grenzen.ersteSperre * (qint64(1) << std::min(stufe, 16)), std::chrono::hours(1));
        f.frei = Uhr::now() + warten;
    }
    ++m_abgewiesen.stand;
    melden(m_abgewiesen, &HandyServer::abgewiesen);
}

void HandyServer::Netz::melden(Melder &melder, void (HandyServer::*signal)(quint64))
{
    if (melder.wartet)
        return;
    const auto jetzt = Uhr::now();
    const auto naechste = melder.letzte + std::chrono::seconds(1);
    if (melder.letzte == Uhr::time_point{} || jetzt >= naechste) {
        melder.letzte = jetzt;
        emit(m_server.*signal)(melder.stand);
        return;
    }
    melder.wartet = true;
    melder.zeit.expires_at(naechste);
    melder.zeit.async_wait([this, &melder, signal](beast::error_code) {
        melder.wartet = false;
        melder.letzte = Uhr::now();
        emit(m_server.*signal)(melder.stand);
    });
}

void HandyServer::Netz::codeSetzen(const QString &code)
{
    if (code == m_code)
        return;
    m_code = code;
    // The devices of the last game joined with the old code: they scan the new one.
    const std::vector<WsSitzung *> alle(m_beigetreten.cbegin(), m_beigetreten.cend());
    m_beigetreten.clear();
    m_geraete.clear();
    m_vergeben.clear();
    for (WsSitzung *sitzung : alle) {
        sitzung->token.clear();
        sitzung->schliessen(HandyProtokoll::FalscherCode);
    }
}

void HandyServer::Netz::frageSetzen(bool offen, int frage, int runde)
{
    if (offen == m_offen && frage == m_frage && runde == m_runde)
        return;
    m_offen = offen;
    m_frage = frage;
    m_runde = runde;
    anAlle(frageNachricht());
}

void HandyServer::Netz::anAlle(const std::string &text)
{
    for (WsSitzung *sitzung : m_beigetreten)
        sitzung->senden(text);
}

std::string HandyServer::Netz::frageNachricht() const
{
    return QJsonDocument(QJsonObject{{QStringLiteral("typ"), QStringLiteral("frage")},
                                     {QStringLiteral("offen"), m_offen},
                                     {QStringLiteral("frage"), m_frage},
                                     {QStringLiteral("runde"), m_runde}})
        .toJson(QJsonDocument::Compact)
        .toStdString();
}

void HandyServer::Netz::vergesseneFreigeben()
{
    const auto grenze = Uhr::now() - m_grenzen.nummerFrei;
    for (auto it = m_geraete.begin(); it != m_geraete.end();) {
        if (it->second.socket.expired() && it->second.weg <= grenze) {
            m_vergeben.remove(it->second.nummer);
            it = m_geraete.erase(it);
        } else {
            ++it;
        }
    }
}

uint HandyServer::Netz::freieNummer() const
{
    for (uint nummer = 1; nummer <= HandyProtokoll::HoechsteNummer; ++nummer) {
        if (!m_vergeben.contains(nummer))
            return nummer;
    }
    return 0;
}

void HandyServer::Netz::anmelden(const std::shared_ptr<WsSitzung> &sitzung, std::string_view ziel)
{
    if (!m_empfang || gesperrt(sitzung->adresse())) {
        sitzung->schliessen(HandyProtokoll::FalscherCode);
        return;
    }
    if (m_code.isEmpty() || abfrageWert(ziel, QStringLiteral("c")) != m_code) {
        fehlversuch(sitzung->adresse());
        sitzung->schliessen(HandyProtokoll::FalscherCode);
        return;
    }
    std::string token = abfrageWert(ziel, QStringLiteral("t")).toStdString();
    auto geraet = m_geraete.find(token);
    if (geraet == m_geraete.end()) {
        vergesseneFreigeben();
        const auto vonDort = std::count_if(m_geraete.cbegin(), m_geraete.cend(), [&](const auto &g) {
            return g.second.adresse == sitzung->adresse();
        });
        const uint nummer = freieNummer();
        if (nummer == 0 || vonDort >= m_nummernJeAdresse) {
            sitzung->schliessen(HandyProtokoll::KeineNummerFrei);
            return;
        }
        token = zufallsToken();
        geraet = m_geraete.emplace(token, Geraet{nummer, {}, sitzung->adresse(), {}}).first;
        m_vergeben.insert(nummer);
    } else if (auto alt = geraet->second.socket.lock(); alt && alt != sitzung) {
        // One device, one handset: the older connection of the same device gives way.
        m_beigetreten.erase(alt.get());
        alt->token.clear();
        alt->schliessen(HandyProtokoll::Ersetzt);
    }
    geraet->second.socket = sitzung;
    sitzung->token = token;
    m_beigetreten.insert(sitzung.get());

    QJsonObject willkommen{
        {QStringLiteral("typ"), QStringLiteral("willkommen")},
        {QStringLiteral("offen"), m_offen},
        {QStringLiteral("frage"), m_frage},
        {QStringLiteral("runde"), m_runde},
        {QStringLiteral("nummer"), int(geraet->second.nummer)},
        {QStringLiteral("token"), QString::fromStdString(token)},
        {QStringLiteral("sprache"), m_englisch ? QStringLiteral("en") : QStringLiteral("de")},
        {QStringLiteral("vorlage"), m_vorlage}};
    sitzung->senden(QJsonDocument(willkommen).toJson(QJsonDocument::Compact).toStdString());
    emit m_server.beigetreten(geraet->second.nummer);
}

void HandyServer::Netz::nachricht(WsSitzung &sitzung, const std::string &text)
{
    if (sitzung.token.empty())
        return;
    QJsonParseError fehler{};
    const QJsonDocument dokument = QJsonDocument::fromJson(QByteArray::fromStdString(text), &fehler);
    if (fehler.error != QJsonParseError::NoError || !dokument.isObject())
        return;
    const QJsonObject inhalt = dokument.object();
    const QJsonValue knopfWert = inhalt.value(QStringLiteral("knopf"));
    if (inhalt.value(QStringLiteral("typ")).toString() != QLatin1String("druck") || !knopfWert.isDouble())
        return;
    const double knopf = knopfWert.toDouble();
    if (knopf != 1 && knopf != 2 && knopf != 3 && knopf != 4)
        return;
    const auto geraet = m_geraete.find(sitzung.token);
    if (geraet == m_geraete.end())
        return;
    const uint nummer = geraet->second.nummer;
    bool gezaehlt = false;
    if (m_offen) {
        const qint64 ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(Uhr::now() - m_beginn).count();
        if (m_filter.zuSchnell(nummer, ms)) {
            m_gedrosselt.stand = m_filter.gedrosselt();
            melden(m_gedrosselt, &HandyServer::gedrosselt);
        } else {
            emit m_server.druck(HandyKlassensatz, nummer, uint(knopf));
            gezaehlt = true;
        }
    }
    sitzung.senden(QJsonDocument(QJsonObject{{QStringLiteral("typ"), QStringLiteral("quittung")},
                                             {QStringLiteral("knopf"), int(knopf)},
                                             {QStringLiteral("gezaehlt"), gezaehlt}})
                       .toJson(QJsonDocument::Compact)
                       .toStdString());
}

void HandyServer::Netz::getrennt(WsSitzung &sitzung)
{
    m_beigetreten.erase(&sitzung);
    if (sitzung.token.empty())
        return;
    // The number stays with the device's token for a while: it comes back with it.
    const auto geraet = m_geraete.find(sitzung.token);
    if (geraet != m_geraete.end() && geraet->second.socket.lock().get() == &sitzung) {
        geraet->second.socket.reset();
        geraet->second.weg = Uhr::now();
    }
    sitzung.token.clear();
}

HandyServer::HandyServer(QObject *eltern)
    : QObject(eltern)
    , m_netz(std::make_unique<Netz>(*this))
{
}

HandyServer::~HandyServer()
{
    // The network thread ends before anything it emits from goes.
    m_netz.reset();
}

void HandyServer::starten(const QHostAddress &adresse, quint16 port)
{
    m_netz->auftrag([netz = m_netz.get(), adresse, port]() { netz->starten(adresse, port); });
}

void HandyServer::stoppen()
{
    m_netz->auftrag([netz = m_netz.get()]() { netz->stoppen(); });
}

void HandyServer::grenzenSetzen(const HandyGrenzen &grenzen)
{
    m_netz->auftrag([netz = m_netz.get(), grenzen]() { netz->m_grenzen = grenzen; });
}

void HandyServer::codeSetzen(const QString &code)
{
    m_netz->auftrag([netz = m_netz.get(), code]() { netz->codeSetzen(code); });
}

void HandyServer::frageSetzen(bool offen, int frage, int runde)
{
    m_netz->auftrag([netz = m_netz.get(), offen, frage, runde]() { netz->frageSetzen(offen, frage, runde); });
}

void HandyServer::nummernReservieren(const QSet<uint> &nummern)
{
    m_netz->auftrag([netz = m_netz.get(), nummern]() { netz->m_vergeben.unite(nummern); });
}

void HandyServer::nummernJeAdresseSetzen(int anzahl)
{
    m_netz->auftrag([netz = m_netz.get(), anzahl]() { netz->m_nummernJeAdresse = anzahl; });
}

void HandyServer::spracheSetzen(bool englisch)
{
    m_netz->auftrag([netz = m_netz.get(), englisch]() {
        if (englisch == netz->m_englisch)
            return;
        netz->m_englisch = englisch;
        netz->anAlle(QJsonDocument(QJsonObject{{QStringLiteral("typ"), QStringLiteral("sprache")},
                                               {QStringLiteral("sprache"),
                                                englisch ? QStringLiteral("en") : QStringLiteral("de")}})
                         .toJson(QJsonDocument::Compact)
                         .toStdString());
    });
}

void HandyServer::vorlageSetzen(const QString &name)
{
    m_netz->auftrag([netz = m_netz.get(), name]() { netz->m_vorlage = name; });
}

void HandyServer::rechnerAnkuendigen(const QString &rechner)
{
    std::string name = klein(rechner.trimmed().toStdString());
    if (QHostAddress(rechner.trimmed()).protocol() == QAbstractSocket::IPv6Protocol)
        name = "[" + name + "]";
    m_netz->auftrag([netz = m_netz.get(), name]() { netz->m_rechner.insert(name); });
}
