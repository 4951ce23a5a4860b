#include "MapScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace zq {

ScriptCall ParseScriptText(const QString& text)
{
    ScriptCall call;
    QString rest = text;
    static const QString kPrefix = QStringLiteral("javascript:");
    if (const qsizetype at = rest.indexOf(kPrefix); at >= 0)
        rest = rest.mid(at + kPrefix.size());
    const qsizetype open = rest.indexOf(u'(');
    if (open < 0) {
        call.function = rest.trimmed();
        return call;
    }
    call.function = rest.left(open).trimmed();
    static const QRegularExpression kSeparators(QStringLiteral("[ ,'\"\\t();]"));
    call.arguments = rest.mid(open + 1).split(kSeparators, Qt::SkipEmptyParts);
    return call;
}

QString ScriptStringLiteral(const QString& text)
{
    // A one-element JSON array gives the string in JSON's escaping; JSON strings are JavaScript strings.
    const QByteArray array = QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact);
    QString literal = QString::fromUtf8(array.mid(1, array.size() - 2));
    // "</script>" and "<!--" must not appear even inside a string when the call ever lands in a page, and
    // U+2028/U+2029 end a line in older JavaScript.
    literal.replace(u'<', QStringLiteral("\\u003c"));
    literal.replace(u'>', QStringLiteral("\\u003e"));
    literal.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    literal.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return literal;
}

QString BuildScriptCall(const ScriptCall& call)
{
    static const QRegularExpression kIdentifier(QStringLiteral("^[A-Za-z_$][A-Za-z0-9_$]*$"));
    if (!kIdentifier.match(call.function).hasMatch())
        return {};
    QStringList literals;
    for (const QString& argument : call.arguments)
        literals << ScriptStringLiteral(argument);
    const QString& name = call.function;
    return QStringLiteral("(typeof %1 === 'function') ? %1(%2) : undefined").arg(name, literals.join(u", "));
}

QString PositionScriptText(double latitudeDegrees, double longitudeDegrees)
{
    return QString::asprintf("javascript:positionChange('%f', '%f')", latitudeDegrees, longitudeDegrees);
}

} // namespace zq
