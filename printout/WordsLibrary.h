#pragma once

#include "FunctionLibrary.h"

class TfrTextEngine;

// The program's own functions of expressions: amounts, numbers and dates in Russian words.
//   СУММАПРОПИСЬЮ(число [, валюта [, вид]])  AMOUNTINWORDS   валюта 'RUB' (the default), 'USD'
//       or 'EUR'; вид 0 (the default) gives kopecks in digits, 1 in words
//   ЧИСЛОПРОПИСЬЮ(число [, род])             NUMBERINWORDS   род 'м' (the default), 'ж' or 'с'
//   ДАТАПРОПИСЬЮ(дата)                        DATEINWORDS
// Scripts name letters A to Z only, so each has a Latin name too.
class TfWordsLibrary : public TfrFunctionLibrary {
public:
    explicit TfWordsLibrary(TfrParser& parser);

protected:
    void DoFunction(int index, const QString& p1, const QString& p2, const QString& p3,
                    QVariant& value) override;
};

// Installs the library in the text layer, after the standard one.
void InstallWordsLibrary(TfrTextEngine& text);
