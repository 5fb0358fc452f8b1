#pragma once

#include <QString>

// The engine's user texts, looked up by number; a number without a text gives an empty string.
QString frLoadStr(int id);
