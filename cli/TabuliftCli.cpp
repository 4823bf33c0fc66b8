// tabulift-cli: lists the tables and the columns of an Access database and
// converts a table into song files, with the column presets of the window.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <unistd.h>

#include "app/ColumnPresets.h"
#include "app/ImportRun.h"
#include "cli/ProgressBar.h"
#include "cli/SongFieldNames.h"
#include "platform/ado/ADOConnection.h"
#include "platform/ado/ConnectionString.h"

namespace {

constexpr int kUsageError = 2;

struct TArguments {
  std::string Database;
  std::string Table;
  std::string TargetDirectory;
  std::vector<std::string> Mappings;
  bool NoPresets = false;
};

void PrintLine(std::string_view utf8) { std::printf("%.*s\n", static_cast<int>(utf8.size()), utf8.data()); }

void Connect(TADOConnection &connection, const std::string &database) {
  connection.SetConnectionString(JetConnectionString(database));
}

// Forward-only: the rows stream past, so memory does not grow with the table.
void OpenTable(TADOTable &table, TADOConnection &connection, const std::string &tableName) {
  table.SetConnection(&connection);
  table.SetTableName(Utf8ToAnsi(tableName));
  table.SetCursorType(TCursorType::ctOpenForwardOnly);
  table.Open();
}

TColumnChoosers PresetChoosers(const TADOTable &table) {
  TColumnChoosers choosers;
  choosers.fill(ColumnChooserFor(table.Fields()));
  AutoMapColumns(choosers, table.Fields());
  return choosers;
}

void ListTables(const TArguments &arguments) {
  TADOConnection connection;
  Connect(connection, arguments.Database);
  std::vector<AnsiString> names;
  connection.GetTableNames(names);
  for (const AnsiString &name : names)
    PrintLine(AnsiToUtf8(name));
}

void ListColumns(const TArguments &arguments) {
  TADOConnection connection;
  Connect(connection, arguments.Database);
  TADOTable table;
  OpenTable(table, connection, arguments.Table);
  const TColumnChoosers choosers = PresetChoosers(table);
  for (const TField &field : table.Fields()) {
    std::string fields;
    for (int songField = 0; songField < kSongFieldCount; ++songField)
      if (choosers[songField].ItemIndex == field.Index() + 1)
        fields.append(fields.empty() ? "" : ", ").append(SongFieldName(static_cast<TSongField>(songField)));
    std::string line = AnsiToUtf8(field.FieldName()) + "\t" + std::string(FieldTypeName(field.DataType()));
    PrintLine(fields.empty() ? line : line + "\t" + fields);
  }
}

void Convert(const TArguments &arguments) {
  TADOConnection connection;
  Connect(connection, arguments.Database);
  TADOTable table;
  OpenTable(table, connection, arguments.Table);
  TColumnChoices columns = arguments.NoPresets ? TColumnChoices{} : ChosenColumns(PresetChoosers(table));
  for (const std::string &argument : arguments.Mappings) {
    const TColumnMapping mapping = *ParseColumnMapping(argument); // checked while parsing
    columns[mapping.Field] = Utf8ToAnsi(mapping.Column);
  }

  TProgressBar bar(stderr);
  const bool showProgress = isatty(STDERR_FILENO);
  TImportResult result;
  try {
    result = RunImport(arguments.TargetDirectory, columns, table, [&](int row, int rowCount) {
      if (showProgress)
        bar.Show(row, rowCount);
    });
  } catch (...) {
    bar.Finish();
    throw;
  }
  bar.Finish();
  std::printf("Zeilen: %d, geschrieben: %d, ohne Liedtext: %d, umbenannt: %d\n", result.RowsRead,
              result.FilesWritten, result.RowsWithoutText, result.FilesRenamed);
}

CLI::Validator ColumnMappingValidator() {
  return CLI::Validator(
      [](std::string &argument) -> std::string {
        if (ParseColumnMapping(argument))
          return {};
        return "'" + argument + "' ist kein FIELD=COLUMN; FIELD ist eines von: " + SongFieldNameList();
      },
      ""); // the option's type name already says FIELD=COLUMN
}

} // namespace

int main(int argc, char **argv) {
  CLI::App app{"Tabulift wandelt eine Liedtabelle einer Access-Datenbank (.mdb, .accdb) in\n"
               "Hymnora-Liederdateien (.sng): eine Datei je Zeile, benannt nach dem Titel.",
               "tabulift-cli"};
  app.require_subcommand(1);
  app.footer("Beispiele:\n"
             "  tabulift-cli tables examples/lieder.mdb\n"
             "  tabulift-cli columns examples/lieder.mdb Lieder\n"
             "  tabulift-cli convert examples/lieder.mdb Lieder /tmp/songs\n"
             "  tabulift-cli convert lieder.mdb Lieder ~/Songs --map key=Tonart --map quickfind=\n\n"
             "Exit-Status: 0 erfolgreich, 1 Fehler (Meldung auf stderr; schon geschriebene\n"
             "Dateien bleiben), 2 falscher Aufruf.");
  TArguments arguments;

  CLI::App *tables = app.add_subcommand("tables", "Listet die Tabellen, dann die Abfragen (Sichten), je nach Namen sortiert.");
  tables->add_option("DB", arguments.Database, "Die Access-Datenbank")->required();

  CLI::App *columns = app.add_subcommand(
      "columns", "Listet die Spalten einer Tabelle: Name, Art und die Liedfelder, die die Vorbelegung ihr gibt.");
  columns->add_option("DB", arguments.Database, "Die Access-Datenbank")->required();
  columns->add_option("TABLE", arguments.Table, "Die Tabelle oder Abfrage")->required();

  CLI::App *convert = app.add_subcommand(
      "convert", "Schreibt je Zeile der Tabelle eine Liederdatei nach TARGETDIR. Die Liedfelder werden wie im\n"
                 "Fenster aus den Spaltennamen vorbelegt, der Liedtext aus der ersten Memo-Spalte; --map ändert das.\n"
                 "Zum Schluss eine Zeile auf stdout: Zeilen: R, geschrieben: W, ohne Liedtext: S, umbenannt: N");
  convert->add_option("DB", arguments.Database, "Die Access-Datenbank")->required();
  convert->add_option("TABLE", arguments.Table, "Die Tabelle oder Abfrage")->required();
  convert->add_option("TARGETDIR", arguments.TargetDirectory, "Das Zielverzeichnis; wird angelegt")->required();
  convert
      ->add_option("--map", arguments.Mappings,
                   "Füllt das Liedfeld FIELD aus der Spalte COLUMN; ein leeres COLUMN lässt es leer.\n"
                   "Mehrfach möglich, gilt nach der Vorbelegung. FIELD: " + SongFieldNameList())
      ->type_name("FIELD=COLUMN")
      ->allow_extra_args(false)
      ->check(ColumnMappingValidator());
  convert->add_flag("--no-presets", arguments.NoPresets, "Keine Vorbelegung: nur die Felder aus --map werden gefüllt");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &error) {
    return app.exit(error) == 0 ? 0 : kUsageError; // help goes to stdout, a usage error to stderr
  }

  try {
    if (tables->parsed())
      ListTables(arguments);
    else if (columns->parsed())
      ListColumns(arguments);
    else
      Convert(arguments);
  } catch (const std::exception &error) {
    std::fflush(stdout);
    std::fprintf(stderr, "tabulift-cli: %s\n", error.what());
    return 1;
  }
  return 0;
}
