#pragma once

#include "webbruecke.h"

#include <QApplication>
#include <QTest>

// The main of a test with web views: the pages' scheme is known before the application starts, so
// pages from the resources may show pictures from the question's folder.
#define PLENARO_SEITEN_TEST_MAIN(Klasse)                                                                     \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        WebBruecke::qrcSchemaAnmelden();                                                                     \
        QApplication app(argc, argv);                                                                        \
        Klasse test;                                                                                         \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
