#include "erstesbild.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <QWebEngineView>

#include <memory>

namespace {

// The engine answers reads but has no signal for a drawn frame; a flag set by a frame callback and
// read until it is there is the closest the page itself can tell.
void nachfragen(QWebEngineView *ansicht, std::shared_ptr<std::function<void()>> gezeichnet,
                QDeadlineTimer frist)
{
    ansicht->page()->runJavaScript(QStringLiteral("window.plenaroGezeichnet === true"),
                                   [ansicht, gezeichnet, frist](const QVariant &wert) {
                                       if (wert.toBool()) {
                                           (*gezeichnet)();
                                           return;
                                       }
                                       if (frist.hasExpired())
                                           return;
                                       QTimer::singleShot(2, ansicht, [ansicht, gezeichnet, frist]() {
                                           nachfragen(ansicht, gezeichnet, frist);
                                       });
                                   });
}

} // namespace

void nachErstemBild(QWebEngineView *ansicht, std::function<void()> gezeichnet)
{
    auto verbindung = std::make_shared<QMetaObject::Connection>();
    *verbindung = QObject::connect(ansicht, &QWebEngineView::loadFinished, ansicht,
                                   [ansicht, gezeichnet, verbindung](bool ok) {
                                       // The empty document a view starts with, or a load that another one
                                       // cut short, is not the page that is waited for.
                                       if (!ok || ansicht->url().scheme() == QLatin1String("about"))
                                           return;
                                       QObject::disconnect(*verbindung);
                                       naechstesBildAbwarten(ansicht, QDeadlineTimer::Forever, gezeichnet);
                                   });
}

void naechstesBildAbwarten(QWebEngineView *ansicht, QDeadlineTimer frist, std::function<void()> gezeichnet)
{
    ansicht->page()->runJavaScript(QStringLiteral("window.plenaroGezeichnet = false; "
                                                  "requestAnimationFrame(function () { "
                                                  "window.plenaroGezeichnet = true; }); null"));
    nachfragen(ansicht, std::make_shared<std::function<void()>>(std::move(gezeichnet)), frist);
}
