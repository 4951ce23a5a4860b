#pragma once

#include <QString>
#include <QStringList>

// Script calls into the map page, as text. The viewer names a page function and its arguments; every
// argument reaches the page as a JavaScript string literal (JSON-escaped), never pasted in raw.
namespace zq {

/// A script call split into the function's name and its arguments.
struct ScriptCall {
    QString function;
    QStringList arguments;
};

/// Reads a call written as text, such as "javascript:positionChange('37.5', '127.25')": what follows
/// "javascript:" when present; the name is the text before the first "(" without surrounding blanks (the
/// whole text when there is no "("); the rest splits into arguments at blanks, commas, quotes, tabs,
/// parentheses and semicolons, empty pieces dropped. An empty text gives an empty name.
ScriptCall ParseScriptText(const QString& text);

/// A JavaScript string literal holding exactly `text`, safe inside a script and inside an HTML page.
QString ScriptStringLiteral(const QString& text);

/// The JavaScript that calls the page function when it exists and yields its result (undefined when the
/// function does not exist). Empty when the name is not a plain identifier, so nothing else can run.
QString BuildScriptCall(const ScriptCall& call);

/// The positionChange text for a position, six decimals each.
QString PositionScriptText(double latitudeDegrees, double longitudeDegrees);

} // namespace zq
