#pragma once

#include <QStringList>

// The messages the application object has shown for escaped exceptions.
QStringList &ShownErrors();
