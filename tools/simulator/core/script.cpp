#include "script.h"

namespace simulator {

namespace {

// A day is more than any session lasts; larger delays are almost certainly typos.
constexpr long long maxDelayMs = 24LL * 3600 * 1000;

ParsedLine failure(const QString &message)
{
    ParsedLine result;
    result.error = message;
    return result;
}

ParsedLine actions(std::vector<Action> list)
{
    ParsedLine result;
    result.kind = ParsedLine::Kind::Actions;
    result.actions = std::move(list);
    return result;
}

std::optional<int> parseDelay(const QStringList &fields, int index, QString *error)
{
    if (fields.size() <= index)
        return 0;
    const auto delay = parseNumber(fields.at(index), 0, maxDelayMs);
    if (!delay)
        *error = QStringLiteral("delay must be whole milliseconds from 0 to %1, got '%2'")
                     .arg(maxDelayMs)
                     .arg(fields.at(index));
    return delay ? std::optional<int>(int(*delay)) : std::nullopt;
}

QString badButton(const QString &text)
{
    return QStringLiteral("unknown button '%1' (use A-D or 1-4)").arg(text);
}

QString badHandset(const QString &text)
{
    return QStringLiteral("handset must be 1-%1, got '%2'").arg(maxHandset).arg(text);
}

QString badClassSet(const QString &text)
{
    return QStringLiteral("class set must be 0-%1, got '%2'").arg(maxClassSet).arg(text);
}

ParsedLine parseHandsetPress(const QStringList &fields)
{
    if (fields.size() < 3 || fields.size() > 4)
        return failure(
            QStringLiteral("expected HANDSET CLASSSET BUTTON [DELAY_MS], got %1 fields").arg(fields.size()));
    const auto handset = parseNumber(fields.at(0), 1, maxHandset);
    if (!handset)
        return failure(badHandset(fields.at(0)));
    const auto classSet = parseNumber(fields.at(1), 0, maxClassSet);
    if (!classSet)
        return failure(badClassSet(fields.at(1)));
    const auto button = parseButton(fields.at(2));
    if (!button)
        return failure(badButton(fields.at(2)));
    QString error;
    const auto delay = parseDelay(fields, 3, &error);
    if (!delay)
        return failure(error);
    Action action;
    action.press = Press{Handset{std::uint16_t(*classSet), std::uint8_t(*handset)}, *button};
    action.delayMs = *delay;
    return actions({action});
}

ParsedLine parseMasterPress(const QStringList &fields, const LineSyntax &syntax)
{
    if (!syntax.master)
        return failure(QStringLiteral("'master' needs a master handset (--master HANDSET,CLASSSET)"));
    if (fields.size() < 2 || fields.size() > 3)
        return failure(QStringLiteral("expected master BUTTON [DELAY_MS]"));
    const auto button = parseButton(fields.at(1));
    if (!button)
        return failure(badButton(fields.at(1)));
    QString error;
    const auto delay = parseDelay(fields, 2, &error);
    if (!delay)
        return failure(error);
    Action action;
    action.press = Press{*syntax.master, *button};
    action.master = true;
    action.delayMs = *delay;
    return actions({action});
}

// "a 12", "a 1-30", "c 7 258": quick typing at the prompt.
ParsedLine parseShortcut(const QStringList &fields, Button button, const LineSyntax &syntax)
{
    if (fields.size() < 2 || fields.size() > 3)
        return failure(QStringLiteral("expected %1 HANDSET[-LAST] [CLASSSET]").arg(fields.at(0)));
    const QString &range = fields.at(1);
    const auto dash = range.indexOf(QLatin1Char('-'));
    const auto first =
        parseNumber(dash < 0 ? QStringView(range) : QStringView(range).left(dash), 1, maxHandset);
    const auto last = dash < 0 ? first : parseNumber(QStringView(range).mid(dash + 1), 1, maxHandset);
    if (!first || !last || *last < *first)
        return failure(badHandset(range));
    std::uint16_t classSet = syntax.defaultClassSet;
    if (fields.size() == 3) {
        const auto parsed = parseNumber(fields.at(2), 0, maxClassSet);
        if (!parsed)
            return failure(badClassSet(fields.at(2)));
        classSet = std::uint16_t(*parsed);
    }
    std::vector<Action> list;
    for (long long number = *first; number <= *last; ++number) {
        Action action;
        action.press = Press{Handset{classSet, std::uint8_t(number)}, button};
        list.push_back(action);
    }
    return actions(std::move(list));
}

} // namespace

std::optional<long long> parseNumber(QStringView text, long long min, long long max)
{
    // Ten digits already exceed every range used here; the limit keeps the sum from overflowing.
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    long long value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

ParsedLine parseLine(QStringView line, const LineSyntax &syntax)
{
    const auto hash = line.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        line = line.left(hash);
    // simplified() also swallows tabs and the '\r' of scripts saved with Windows line ends.
    const QStringList fields = line.toString().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.isEmpty())
        return ParsedLine();

    const QString command = fields.at(0).toLower();
    if (command == QLatin1String("wait-for-identification")) {
        if (fields.size() != 1)
            return failure(QStringLiteral("wait-for-identification takes no arguments"));
        Action action;
        action.kind = Action::Kind::WaitForIdentification;
        return actions({action});
    }
    if (command == QLatin1String("close")) {
        if (fields.size() > 2)
            return failure(QStringLiteral("expected close [DELAY_MS]"));
        QString error;
        const auto delay = parseDelay(fields, 1, &error);
        if (!delay)
            return failure(error);
        Action action;
        action.kind = Action::Kind::Close;
        action.delayMs = *delay;
        return actions({action});
    }
    if (command == QLatin1String("master") || (syntax.interactive && command == QLatin1String("m")))
        return parseMasterPress(fields, syntax);
    const QChar lead = fields.at(0).front();
    if (lead.isDigit() || lead == QLatin1Char('+') || lead == QLatin1Char('-'))
        return parseHandsetPress(fields);

    if (syntax.interactive) {
        if (const auto button = parseButton(command); button && command.front().isLetter())
            return parseShortcut(fields, *button, syntax);
        ParsedLine session;
        if (command == QLatin1String("help") || command == QLatin1String("?"))
            session.kind = ParsedLine::Kind::Help;
        else if (command == QLatin1String("status"))
            session.kind = ParsedLine::Kind::Status;
        else if (command == QLatin1String("quit") || command == QLatin1String("exit") ||
                 command == QLatin1String("q"))
            session.kind = ParsedLine::Kind::Quit;
        if (session.kind != ParsedLine::Kind::Nothing) {
            if (fields.size() != 1)
                return failure(QStringLiteral("%1 takes no arguments").arg(command));
            return session;
        }
    }
    return failure(QStringLiteral("unknown command '%1'").arg(fields.at(0)));
}

Script parseScript(QStringView text, const LineSyntax &syntax)
{
    Script script;
    int number = 0;
    for (const QStringView line : text.split(QLatin1Char('\n'))) {
        ++number;
        ParsedLine parsed = parseLine(line, syntax);
        if (!parsed.error.isEmpty())
            script.errors << QStringLiteral("line %1: %2").arg(number).arg(parsed.error);
        else if (parsed.kind == ParsedLine::Kind::Actions)
            script.actions.insert(script.actions.end(), parsed.actions.begin(), parsed.actions.end());
    }
    return script;
}

ParsedLine parsePressArgument(QStringView argument, const LineSyntax &syntax)
{
    QString line = argument.toString();
    line.replace(QLatin1Char(','), QLatin1Char(' '));
    LineSyntax strict = syntax;
    strict.interactive = false;
    ParsedLine parsed = parseLine(line, strict);
    if (!parsed.error.isEmpty())
        return parsed;
    if (parsed.kind != ParsedLine::Kind::Actions || parsed.actions.front().kind != Action::Kind::Press)
        return failure(
            QStringLiteral("expected HANDSET,CLASSSET,BUTTON[,DELAY_MS] or master,BUTTON[,DELAY_MS]"));
    return parsed;
}

} // namespace simulator
