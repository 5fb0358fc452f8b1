#pragma once

class TfrVariables;

// The engine's named constants: colours, dialog results, CRLF and Null, font styles, frame
// sides and styles, text and band alignment, message box flags, added in that order.
void frFillEngineConstants(TfrVariables& constants);
