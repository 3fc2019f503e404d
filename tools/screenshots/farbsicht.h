#pragma once

#include <QImage>

// How a picture looks to eyes without working green cones (deuteranopia), to check that the pages
// say right and wrong by more than red and green.
namespace Farbsicht {

// The picture as a deuteranope sees it: each pixel through the matrix of Machado, Oliveira and
// Fernandes (2009) for full severity, in linear light. Alpha is kept.
QImage deuteranopie(const QImage &bild);

} // namespace Farbsicht
