// The main of the window tests: the program's own application object, whose
// message box for an escaped exception is replaced by a list the tests read.

#include <gtest/gtest.h>

#include "app/TApplication.h"
#include "tests/WindowTestMain.h"

QStringList &ShownErrors() {
  static QStringList errors;
  return errors;
}

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication application(argc, argv);
  application.SetExceptionHandler([](const QString &message) { ShownErrors() << message; });
  return RUN_ALL_TESTS();
}
