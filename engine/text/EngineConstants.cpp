#include "EngineConstants.h"

#include "Variables.h"
#include "Variant.h"

#include <QtGlobal>

namespace {

struct Constant {
    const char* name;
    qint32 value;
};

// Colours are the engine's 32-bit colour values; the system colours have the top bit set.
constexpr qint32 SystemColour(int n) {
    return static_cast<qint32>(0x80000000u + static_cast<quint32>(n));
}

constexpr Constant Colours[] = {
    {"clWhite", 0xFFFFFF},
    {"clBlack", 0},
    {"clMaroon", 0x80},
    {"clGreen", 0x8000},
    {"clOlive", 0x8080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0xFF},
    {"clLime", 0xFF00},
    {"clYellow", 0xFFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clTransparent", 0x1FFFFFFF},
};

constexpr const char* SystemColours[] = {
    "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
    "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
    "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
    "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
    "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
    "clInfoBk",
};

constexpr Constant DialogResults[] = {
    {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrYes", 6}, {"mrNo", 7},
};

constexpr Constant Rest[] = {
    {"fsBold", 2},           {"fsItalic", 1},
    {"fsUnderline", 4},      {"fsStrikeOut", 8},
    {"frftNone", 0},         {"frftRight", 1},
    {"frftBottom", 2},       {"frftLeft", 4},
    {"frftTop", 8},          {"frtaLeft", 0},
    {"frtaRight", 1},        {"frtaCenter", 2},
    {"frtaVertical", 4},     {"frtaMiddle", 8},
    {"frtaDown", 16},        {"baNone", 0},
    {"baLeft", 1},           {"baRight", 2},
    {"baCenter", 3},         {"baWidth", 4},
    {"baBottom", 5},         {"baTop", 6},
    {"baRest", 7},           {"psSolid", 0},
    {"psDash", 1},           {"psDot", 2},
    {"psDashDot", 3},        {"psDashDotDot", 4},
    {"psDouble", 5},         {"mb_Ok", 0},
    {"mb_OkCancel", 1},      {"mb_YesNo", 4},
    {"mb_YesNoCancel", 3},   {"mb_IconError", 16},
    {"mb_IconQuestion", 32}, {"mb_IconInformation", 64},
    {"mb_IconWarning", 48},
};

void Add(TfrVariables& list, const Constant& c) {
    list.SetVariable(QString::fromLatin1(c.name), QVariant(c.value));
}

}  // namespace

void frFillEngineConstants(TfrVariables& constants) {
    for (const Constant& c : Colours)
        Add(constants, c);
    int n = 0;
    for (const char* name : SystemColours)
        Add(constants, {name, SystemColour(n++)});
    for (const Constant& c : DialogResults)
        Add(constants, c);
    constants.SetVariable(QStringLiteral("CRLF"), QStringLiteral("\r\n"));
    constants.SetVariable(QStringLiteral("Null"), frNull());
    for (const Constant& c : Rest)
        Add(constants, c);
}
