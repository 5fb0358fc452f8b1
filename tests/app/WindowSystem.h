#pragma once

#include <QString>

class XSession;

// The X session the tests run in; null where none could start (then WindowSystemError says why).
XSession* WindowSystem();
QString WindowSystemError();
