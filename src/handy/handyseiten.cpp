#include "handyseiten.h"

namespace HandySeiten {

namespace {

QString text(bool englisch, const char *deutsch, const char *english)
{
    return QString::fromUtf8(englisch ? english : deutsch);
}

// The body's class for the template's colours, as the voting page's script sets it; Kahoot's when
// the name is none of the three.
QString aussehen(const QString &vorlage)
{
    const QString name = vorlage.toLower();
    for (const char *bekannt : {"morvane", "tandrivelle"}) {
        if (name == QLatin1String(bekannt))
            return QStringLiteral("vorlage-") + name;
    }
    return QStringLiteral("vorlage-kahoot");
}

QString sprache(bool englisch)
{
    return englisch ? QStringLiteral("en") : QStringLiteral("de");
}

// A page of the voting page's header alone: the program's name, the state shown as "offline" and
// the message.
std::string meldungsSeite(bool englisch, const QString &vorlage, const QString &meldung)
{
    const QString seite =
        QStringLiteral("<!DOCTYPE html>\n"
                       "<html lang=\"%1\">\n"
                       "<head>\n"
                       "<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<meta name=\"color-scheme\" content=\"light\">\n"
                       "<title>%2</title>\n"
                       "<link rel=\"stylesheet\" href=\"/abstimmung.css\">\n"
                       "</head>\n"
                       "<body class=\"%3\">\n"
                       "<header class=\"kopf\">\n"
                       "  <div class=\"kopfzeile\">\n"
                       "    <span class=\"nummer\">Plenaro</span>\n"
                       "    <span class=\"verbindung\" data-zustand=\"getrennt\"><span class=\"punkt\" "
                       "aria-hidden=\"true\"></span><span>%4</span></span>\n"
                       "  </div>\n"
                       "  <p class=\"meldung\" role=\"alert\">%5</p>\n"
                       "</header>\n"
                       "</body>\n"
                       "</html>\n")
            .arg(sprache(englisch),
                 text(englisch, "Plenaro – Abstimmung", "Plenaro – Voting").toHtmlEscaped(),
                 aussehen(vorlage).toHtmlEscaped(), text(englisch, "getrennt", "offline").toHtmlEscaped(),
                 meldung.toHtmlEscaped());
    return seite.toStdString();
}

} // namespace

std::string abstimmung(std::string_view seite, bool englisch, const QString &vorlage)
{
    QString fertig = QString::fromUtf8(seite.data(), qsizetype(seite.size()));
    fertig.replace(QLatin1String("{sprache}"), sprache(englisch));
    fertig.replace(QLatin1String("{aussehen}"), aussehen(vorlage).toHtmlEscaped());
    fertig.replace(
        QLatin1String("{ohneSkript}"),
        text(englisch, "Bitte JavaScript einschalten.", "Please enable JavaScript.").toHtmlEscaped());
    return fertig.toStdString();
}

std::string falscherCode(bool englisch, const QString &vorlage)
{
    return meldungsSeite(englisch, vorlage,
                         text(englisch, "Falscher Beitrittscode – bitte den QR-Code neu scannen.",
                              "Wrong join code – please scan the QR code again."));
}

std::string nichtGefunden(bool englisch, const QString &vorlage)
{
    return meldungsSeite(englisch, vorlage,
                         text(englisch, "Diese Seite gibt es hier nicht – bitte den QR-Code scannen.",
                              "There is no such page here – please scan the QR code."));
}

} // namespace HandySeiten
