#pragma once

#include "EngineState.h"
#include "Failure.h"
#include "FunctionLibrary.h"
#include "Locale.h"
#include "Parser.h"
#include "ServicesDouble.h"
#include "StdFunctionLibrary.h"
#include "Variant.h"

#include <gtest/gtest.h>
#include <QMap>

// A parser wired as the engine wires it: names from a table, functions through the installed
// libraries, boxes answered by the services double.
class ParserFixture : public ::testing::Test {
protected:
    ParserFixture() {
        state.Services = &services;
        libraries.Install(std::make_unique<TfrStdFunctionLibrary>(parser, state));
        parser.ValueCallback = [this](const QString& name, QVariant& value) {
            namesAsked << name;
            if (name == u"BOOM")
                throw Failure(QStringLiteral("boom"));
            value = names.value(name);
        };
        parser.FunctionCallback = [this](const QString& name, const QString& p1, const QString& p2,
                                         const QString& p3, QVariant& value) {
            value = QStringLiteral("0");
            if (!libraries.Call(name, p1, p2, p3, value))
                callsPassedOn << QStringList({name, p1, p2, p3});
        };
    }

    TfrLocale locale = TfrLocale::Russian();
    TfrParser parser{locale};
    TfrEngineState state;
    ServicesDouble services;
    TfrInstalledFunctions installed;
    TfrFunctionLibraries libraries{&installed};
    QMap<QString, QVariant> names;
    QStringList namesAsked;
    QList<QStringList> callsPassedOn;
};

// Integers of any width compare as integers, reals as reals, and so on; a real never equals an
// integer here, so the kind of a result is checked with its value.
inline ::testing::AssertionResult SameValue(const QVariant& actual, const QVariant& expected) {
    const auto kind = [](const QVariant& v) {
        switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
                return 1;
            case QMetaType::Double:
                return 2;
            case QMetaType::QString:
                return 3;
            case QMetaType::Bool:
                return 4;
            default:
                return 0;
        }
    };
    bool same = kind(actual) == kind(expected);
    if (same) {
        switch (kind(expected)) {
            case 1:
                same = actual.toLongLong() == expected.toLongLong();
                break;
            case 2:
                same = actual.toDouble() == expected.toDouble();
                break;
            default:
                same = actual == expected;
        }
    }
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << actual.typeName() << " " << actual.toString().toStdString() << ", expected "
           << expected.typeName() << " " << expected.toString().toStdString();
}
