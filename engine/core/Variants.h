#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

// Conversions of property values. Each raises EVariantError when the value cannot be
// converted; a null value converts to nothing.
qint32 frVarToInt(const QVariant& value);
double frVarToReal(const QVariant& value);
bool frVarToBool(const QVariant& value);
QString frVarToText(const QVariant& value);
// As frVarToText, but null gives an empty text.
QString frVarToStr(const QVariant& value);

// Names of properties and objects are compared in upper case, by the locale's rules.
QString frUpper(const QString& text);
bool frSameText(const QString& a, const QString& b);

// A list's lines from a text: CR, LF and CR LF end a line; a break at the very end adds no
// empty line.
QStringList frSplitLines(const QString& text);
// Every line followed by CR LF.
QString frJoinLines(const QStringList& lines);
