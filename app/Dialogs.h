#pragma once
// The two modal dialogs of the window, as plain functions so that tests can
// put their own in their place.

#include <filesystem>
#include <functional>
#include <optional>

class QWidget;

// Asks for an Access database file; nothing when the user cancels.
using OpenDatabaseDialog = std::function<std::optional<std::filesystem::path>(QWidget *parent)>;
std::optional<std::filesystem::path> ExecuteOpenDatabaseDialog(QWidget *parent);

// Asks for a folder, starting at `folder` when it exists: only file-system
// folders, no button for making a new one; nothing when the user cancels.
using FolderBrowser =
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path &folder, QWidget *parent)>;
std::optional<std::filesystem::path> BrowseForFolder(const std::filesystem::path &folder, QWidget *parent);
