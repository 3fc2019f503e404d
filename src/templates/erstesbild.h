#pragma once

#include <QDeadlineTimer>

#include <functional>

class QWebEngineView;

// Calls `gezeichnet` once the view's page has loaded and the engine has begun a frame after that:
// the moment a person in front of the screen sees the page. For the start-up benchmark, which
// compares the program against a bare view measured the same way.
void nachErstemBild(QWebEngineView *ansicht, std::function<void()> gezeichnet);

// Calls `gezeichnet` once the engine has begun a frame of the page the view shows now, unless
// `frist` has passed by then. A view that draws nothing (hidden, or in a minimised window) never
// calls it.
void naechstesBildAbwarten(QWebEngineView *ansicht, QDeadlineTimer frist, std::function<void()> gezeichnet);
