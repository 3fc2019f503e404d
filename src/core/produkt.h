#pragma once

// The product's identity. The web domain names the settings store and is written into every
// question file's header, so it must never change once files are out in classrooms.
namespace Produkt {

inline constexpr char Organisation[] = "Corvanta";
inline constexpr char WebDomain[] = "plenaro.example";
inline constexpr char WebSeite[] = "https://plenaro.example/"; // the web domain's home page
inline constexpr char Anwendungsname[] = "Plenaro";

} // namespace Produkt
