#include "log.h"

#include <QElapsedTimer>

#include <cstdio>

namespace simulator {

namespace {

bool quietLog = false;

QElapsedTimer &clock()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}

} // namespace

void setQuiet(bool quiet)
{
    quietLog = quiet;
    clock();
}

void logEvent(const QString &message)
{
    const qint64 ms = clock().elapsed();
    const QByteArray line = QStringLiteral("[sim %1.%2] %3\n")
                                .arg(ms / 1000, 3)
                                .arg(ms % 1000, 3, 10, QLatin1Char('0'))
                                .arg(message)
                                .toLocal8Bit();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
    std::fflush(stderr);
}

void logDetail(const QString &message)
{
    if (!quietLog)
        logEvent(message);
}

} // namespace simulator
