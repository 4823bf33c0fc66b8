#pragma once
// The application object: an exception that leaves an event handler is shown
// in a message box, and the program goes on.

#include <QApplication>
#include <QTranslator>
#include <functional>

class TApplication : public QApplication {
public:
  using ExceptionHandler = std::function<void(const QString &message)>;

  TApplication(int &argc, char **argv);

  // Replaces the message box, for tests.
  void SetExceptionHandler(ExceptionHandler handler) { FShowException = std::move(handler); }

  bool notify(QObject *receiver, QEvent *event) override;

private:
  void ShowMessageBox(const QString &message);

  ExceptionHandler FShowException;
  QTranslator FQtTranslator;
};
