#pragma once

#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

// Waiting for the web engine. A plain event loop: QTest's waiting sleeps between rounds, which
// starves the engine and turns a 1 ms answer into seconds.
inline bool wartenBis(const std::function<bool()> &fertig, int ms = 10000)
{
    if (fertig())
        return true;
    QEventLoop schleife;
    QTimer pruefen;
    QObject::connect(&pruefen, &QTimer::timeout, &schleife, [&]() {
        if (fertig())
            schleife.quit();
    });
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    pruefen.start(1);
    schleife.exec();
    return fertig();
}

// Evaluates through `auswerten` and waits for the value. An answer that comes after the wait gave
// up lands in shared state, never in a dead stack frame.
inline QVariant wertLesen(const std::function<void(std::function<void(const QVariant &)>)> &auswerten,
                          int ms = 10000)
{
    auto antwort = std::make_shared<std::optional<QVariant>>();
    auswerten([antwort](const QVariant &wert) { *antwort = wert; });
    if (!wartenBis([&]() { return antwort->has_value(); }, ms))
        return QStringLiteral("<no answer>");
    return **antwort;
}

// Reads an expression of the test's own through a web bridge (anything with
// `rohAuswerten(ausdruck, antwort)`), after what the bridge has queued.
template<class Bruecke>
QVariant lesen(Bruecke &bruecke, const QString &ausdruck)
{
    return wertLesen([&](auto antwort) { bruecke.rohAuswerten(ausdruck, antwort); });
}
