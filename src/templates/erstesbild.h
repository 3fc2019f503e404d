#pragma once

#include <functional>

class QWebEngineView;

// Calls `gezeichnet` once the view's page has loaded and the engine has begun a frame after that:
// the moment a person in front of the screen sees the page. For the start-up benchmark, which
// compares the program against a bare view measured the same way.
void nachErstemBild(QWebEngineView *ansicht, std::function<void()> gezeichnet);
