// Tabulift: the window program. It takes no command-line arguments.

#include "app/MainUnit.h"
#include "app/TApplication.h"
#include "platform/com/ComRuntime.h"
#include "platform/shell/ShellAutoComplete.h"

int main(int argc, char **argv) {
  TApplication application(argc, argv);
  // The shell's auto-completion and the folder browser live in the main
  // thread's apartment.
  const HRESULT com = CoInitialize(nullptr);
  RegisterShellAutoComplete();

  int exitCode = 0;
  {
    TForm1 form;
    form.show();
    exitCode = application.exec();
  }
  if (SUCCEEDED(com))
    CoUninitialize();
  return exitCode;
}
