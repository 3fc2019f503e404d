#pragma once

#include "frame.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace simulator {

struct Action
{
    enum class Kind { Press, WaitForIdentification, Close };

    Kind kind = Kind::Press;
    Press press;
    bool master = false;
    int delayMs = 0; // waited before the action runs, counted from the previous action
};

struct LineSyntax
{
    std::optional<Handset> master; // "master B" needs to know which handset that is
    std::uint16_t defaultClassSet = 1;
    bool interactive = false; // allows the typing shortcuts and the session commands
};

struct ParsedLine
{
    enum class Kind { Nothing, Actions, Help, Status, Quit };

    Kind kind = Kind::Nothing;
    std::vector<Action> actions;
    QString error; // set when the line was rejected; nothing else is then
};

// One line of a script or of the interactive prompt:
//   HANDSET CLASSSET BUTTON [DELAY_MS]
//   master BUTTON [DELAY_MS]
//   wait-for-identification
//   close [DELAY_MS]
// Interactive only: "a 12", "b 1-30 2" (button, handset or range, optional class set), "help",
// "status", "quit". '#' starts a comment.
ParsedLine parseLine(QStringView line, const LineSyntax &syntax);

struct Script
{
    std::vector<Action> actions;
    QStringList errors; // "line N: ..." for every rejected line
};

Script parseScript(QStringView text, const LineSyntax &syntax);

// "12,1,A[,DELAY_MS]" or "master,B[,DELAY_MS]" from the command line.
ParsedLine parsePressArgument(QStringView argument, const LineSyntax &syntax);

// A whole decimal number within [min, max]; no sign, no spaces, no other base.
std::optional<long long> parseNumber(QStringView text, long long min, long long max);

} // namespace simulator
