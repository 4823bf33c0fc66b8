#include "app/Dialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

#include "util/DUtil.h"

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> SelectedPath(QFileDialog &dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return fs::path(dialog.selectedFiles().constFirst().toStdString());
}

} // namespace

std::optional<fs::path> ExecuteOpenDatabaseDialog(QWidget *parent) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // Our reader handles the newer format too, which the original could not open.
  dialog.setNameFilters({QStringLiteral("Access Datenbank (*.mdb)"),
                         QStringLiteral("Access 2007 Datenbank (*.accdb)")});
  dialog.setDefaultSuffix(QStringLiteral("mdb"));
  // Databases are kept with the user's documents, as on Windows.
  if (const fs::path documents = GetMyDocumentsPath(); !documents.empty())
    dialog.setDirectory(QString::fromStdString(documents.string()));
  return SelectedPath(dialog);
}

std::optional<fs::path> BrowseForFolder(const fs::path &folder, QWidget *parent) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::Directory);
  // Qt's own dialog, since only it can be kept from making new folders.
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly | QFileDialog::DontUseNativeDialog);
  std::error_code error;
  if (fs::is_directory(folder, error)) {
    const QString path = QString::fromStdString(folder.string());
    dialog.setDirectory(QFileInfo(path).absolutePath());
    dialog.selectFile(path);
  }
  if (const QScreen *screen = QGuiApplication::primaryScreen()) {
    dialog.adjustSize();
    dialog.move(screen->availableGeometry().center() - dialog.rect().center());
  }
  return SelectedPath(dialog);
}
