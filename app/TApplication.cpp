#include "app/TApplication.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <exception>

namespace {

// The window is laid out for the Windows fonts "MS Sans Serif" and "Tahoma":
// their labels fit only in a font of the same widths, which Liberation Sans
// (Arial's metrics) comes closest to.
void SubstituteWindowsFonts() {
  for (const char *windowsFont : {"MS Sans Serif", "Tahoma", "Arial"})
    QFont::insertSubstitutions(QLatin1String(windowsFont), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
}

} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {
  // Windows titled the program after its file, first letter capital.
  setApplicationName(QStringLiteral("Tabulift"));
  SubstituteWindowsFonts();
  // Qt's own dialogs speak the desktop's language, as the window speaks German.
  if (FQtTranslator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    installTranslator(&FQtTranslator);
  FShowException = [this](const QString &message) { ShowMessageBox(message); };
}

bool TApplication::notify(QObject *receiver, QEvent *event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception &error) {
    FShowException(QString::fromUtf8(error.what()));
  } catch (...) {
    FShowException(QStringLiteral("Unbekannter Fehler"));
  }
  return false;
}

void TApplication::ShowMessageBox(const QString &message) {
  QMessageBox::critical(activeWindow(), applicationName(), message);
}
