#pragma once

#include "webbruecke.h"

#include <QSize>
#include <QWebEngineView>

#include <memory>

// A real web view with its bridge, for the tests that look at the pages themselves; `geladen`
// turns true when the bridge reports the page loaded with jQuery in it.
struct SeitenAnsicht
{
    SeitenAnsicht(const QSize &groesse, const QString &injektion)
    {
        view.resize(groesse);
        view.show();
        bruecke = std::make_unique<WebBruecke>(&view, injektion);
        QObject::connect(bruecke.get(), &WebBruecke::geladen, bruecke.get(),
                         [this](bool ok) { geladen = ok; });
    }

    QWebEngineView view;
    std::unique_ptr<WebBruecke> bruecke;
    bool geladen = false;
};
