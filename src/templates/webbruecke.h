#pragma once

#include "skriptbruecke.h"

#include <QObject>
#include <QPointer>

#include <QWebEngineView>

// The bridge into one of the main window's web views.
class WebBruecke final : public QObject, public SkriptBruecke
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebBruecke)

public:
    // `injektion` (jQuery and the `qt` alias) runs after every load of the view, so statements
    // find `qt.jQuery` in whatever page the view shows.
    WebBruecke(QWebEngineView *ansicht, const QString &injektion, QObject *eltern = nullptr);

    void ausfuehren(const QString &anweisung) override;
    void auswerten(const QString &ausdruck, Antwort antwort) override;
    void seiteLaden(const QUrl &seite) override;
    void verlaufAbschalten() override;
    int hoehe() const override;

    // Lets pages from the resources show pictures from the question file's folder. Must run before
    // the application object exists.
    static void qrcSchemaAnmelden();

    // Runs a script as it is, without the suffix.
    void roh(const QString &skript);
    QWebEngineView *ansicht() const { return m_ansicht; }

signals:
    // The page has loaded and jQuery is in it.
    void geladen(bool ok);

protected:
    void zoomAnwenden(double faktor) override;

private:
    QPointer<QWebEngineView> m_ansicht;
    QString m_injektion;
};
