#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

class TfrLocale;

// Property values convert by the evaluator's rules (Variant.h) and the conventions of the
// running engine's text layer; without one, by the Russian conventions. Each raises
// EVariantError when the value cannot be converted.
const TfrLocale& frPropertyConventions();
// An integer property: reals round half to even; beyond 32 bits EVariantError.
qint32 frVarToInt(const QVariant& value);
double frVarToReal(const QVariant& value);
bool frVarToBool(const QVariant& value);
// A text property: an empty or Null value cannot be one.
QString frVarToText(const QVariant& value);
// As frVarToText, but empty and Null give an empty text.
QString frVarToStr(const QVariant& value);

// Names of properties and objects are compared in upper case, by the conventions' rules.
QString frUpper(const QString& text);
bool frSameText(const QString& a, const QString& b);

// A list's lines from a text: CR, LF and CR LF end a line; a break at the very end adds no
// empty line.
QStringList frSplitLines(const QString& text);
// Every line followed by CR LF.
QString frJoinLines(const QStringList& lines);
