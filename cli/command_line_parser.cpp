#include "cli/command_line_parser.h"

#include <CLI/CLI.hpp>
#include <QFile>
#include <QStringDecoder>
#include <climits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/printable_text.h"
#include "common/version.h"
#include "fsh/pixel_formats.h"
#include "portrait/thumbnail.h"

namespace cli {

namespace {

// File names and identifiers as the system passes them: in the locale's encoding.
QString fromArgument(const std::string& argument) {
  return QFile::decodeName(QByteArray::fromStdString(argument));
}

QStringList fromArguments(const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list << fromArgument(argument);
  return list;
}

std::vector<std::string> formatNames() {
  std::vector<std::string> names;
  for (const QString& name : fsh::formatCommandNames()) names.push_back(name.toStdString());
  return names;
}

// "keep" or a count of mipmap levels.
std::string checkMipmaps(const std::string& value) {
  if (QString::fromStdString(value).compare(QLatin1String("keep"), Qt::CaseInsensitive) == 0)
    return {};
  bool isNumber = false;
  const int count = QString::fromStdString(value).toInt(&isNumber);
  if (!isNumber || count < 0)
    return "keep or a count of levels (0, 1, 2, ...) is needed, not " + value;
  // The FSH format has room for 15 levels below the bitmap.
  if (count > 15) return "at most 15 mipmap levels are possible, not " + value;
  return {};
}

// X,Y,W,H: whole numbers, the size positive, the far edges within an int.
// Whether it lies inside the picture is known only once the picture is read.
std::optional<QRect> cropNamed(const std::string& value) {
  const QStringList parts = QString::fromStdString(value).split(QLatin1Char(','));
  if (parts.size() != 4) return std::nullopt;
  int numbers[4];
  for (int i = 0; i < 4; ++i) {
    bool isNumber = false;
    numbers[i] = parts[i].trimmed().toInt(&isNumber);
    if (!isNumber) return std::nullopt;
  }
  const auto [x, y, width, height] = numbers;
  if (width <= 0 || height <= 0) return std::nullopt;
  if (qint64(x) + width > INT_MAX || qint64(y) + height > INT_MAX) return std::nullopt;
  return QRect(x, y, width, height);
}

std::string checkCrop(const std::string& value) {
  if (cropNamed(value)) return {};
  return "X,Y,W,H in the picture's pixels is needed (whole numbers, W and H more than 0), "
         "not " +
         value;
}

// One of the names, in any case. The names are not listed beside the option
// in help: its description lists them, and a long list would not fit a line.
CLI::Validator oneOf(const std::vector<std::string>& names) {
  return CLI::Validator(
      [names](std::string& value) -> std::string {
        const QString given = QString::fromStdString(value);
        for (const std::string& name : names)
          if (given.compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0) return {};
        std::string known;
        for (const std::string& name : names) known += (known.empty() ? "" : ", ") + name;
        return value + " is none of " + known;
      },
      "");
}

// File names reach Qt as UTF-8; a name in another encoding would turn into
// a different name, so that another file would be read or written.
std::optional<std::string> nameNotInUtf8(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(QByteArrayView(argv[i]));
    if (decoder.hasError()) return printableText(decoded).toStdString();
  }
  return std::nullopt;
}

portrait::FitMode fitModeNamed(const std::string& name) {
  const QString lower = QString::fromStdString(name).toLower();
  if (lower == QLatin1String("fit")) return portrait::FitMode::Fit;
  if (lower == QLatin1String("stretch")) return portrait::FitMode::Stretch;
  return portrait::FitMode::Fill;
}

const char* const Footer =
    "Exit status: 0 when every file was done, 1 when any file was refused or failed (that file "
    "is left untouched and the others are still done), 2 for a wrong command line.";

// The options every subcommand has, and --dry-run for those that write.
struct SharedFlags {
  bool quiet = false;
  bool dryRun = false;
};

void addQuiet(CLI::App& command, SharedFlags& flags) {
  command.add_flag("-q,--quiet", flags.quiet,
                   "Print nothing but the command's own output and what was refused or failed");
}

void addDryRun(CLI::App& command, SharedFlags& flags) {
  command.add_flag("-n,--dry-run", flags.dryRun,
                   "Check everything and say what would be written, but write nothing");
}

struct Parser {
  CLI::App app{
      "Batch work on player portrait archives (.big): list them, give them new "
      "identifiers, export and import their portrait images, make thumbnails of them.",
      programName().toStdString()};
  SharedFlags flags;

  CLI::App* info = nullptr;
  bool json = false;
  std::vector<std::string> infoArchives;

  CLI::App* setId = nullptr;
  std::string mapFile;
  CLI::Option* mapOption = nullptr;
  std::vector<std::string> setIdArguments;

  CLI::App* exporting = nullptr;
  std::string folder;
  CLI::Option* folderOption = nullptr;
  std::string folderFormat = "fsh";
  std::vector<std::string> exportArguments;

  CLI::App* importing = nullptr;
  std::vector<std::string> importArguments;
  std::string importFolder;
  CLI::Option* importFolderOption = nullptr;
  std::string matchBy = "stem";
  std::string fit = "fill";
  std::string format = "keep";
  std::string mipmaps = "keep";
  std::string crop;

  CLI::App* thumbnail = nullptr;
  int thumbnailSize = portrait::DefaultThumbnailSize;
  std::vector<std::string> thumbnailArguments;

  Parser() {
    app.set_version_flag("--version", programName().toStdString() +
                                          " (Courtside Portraits Editor) " + BuildInfo::Version);
    app.set_help_all_flag("--help-all",
                          "Print this help with every subcommand's options, and exit");
    app.require_subcommand(1);
    app.footer(Footer);
    addQuiet(app, flags);

    info = app.add_subcommand(
        "info",
        "List each archive's path, kind (player or jersey), identifier and size, and its "
        "portrait's width, height, format, mipmaps and compression.");
    info->add_flag("--json", json, "Print one JSON array of the archives instead (see README)");
    info->add_option("ARCHIVE", infoArchives, "Portrait archives")->required()->type_name("");
    addQuiet(*info, flags);

    setId = app.add_subcommand(
        "set-id",
        "Save a copy of an archive under a new 7-character identifier, as Save in the editor: "
        "set-id ID SOURCE TARGET, or set-id --map FILE for a whole roster.");
    mapOption = setId->add_option("--map", mapFile,
                                  "A CSV file of lines SOURCE,TARGET,ID, optionally after a "
                                  "header line that starts with \"source\"");
    mapOption->type_name("FILE");
    setId
        ->add_option("ID SOURCE TARGET", setIdArguments,
                     "The new identifier, the archive and where to save it")
        ->type_name("");
    addQuiet(*setId, flags);
    addDryRun(*setId, flags);

    exporting = app.add_subcommand(
        "export",
        "Write an archive's portrait image: export ARCHIVE OUTPUT writes FSH bytes, or a "
        "picture when OUTPUT ends in .png, .bmp, .jpg or .jpeg (other picture names are "
        "refused); OUTPUT - writes the FSH bytes to standard output; export --to DIR "
        "ARCHIVE... writes one file per archive, named after it.");
    folderOption = exporting->add_option("--to", folder, "The folder for one file per archive");
    folderOption->type_name("DIR");
    exporting
        ->add_option("--as", folderFormat, "What --to writes: fsh (the default) or png pictures")
        ->type_name("FORMAT")
        ->check(oneOf({"fsh", "png"}))
        ->needs(folderOption);
    exporting
        ->add_option("ARCHIVE OUTPUT", exportArguments,
                     "The archive and the output (- for standard output), or with --to the "
                     "archives")
        ->type_name("");
    addQuiet(*exporting, flags);
    addDryRun(*exporting, flags);

    importing = app.add_subcommand(
        "import",
        "Put an FSH image, or a picture (PNG, BMP, JPEG, GIF, WebP, TIFF, ...), in place of an "
        "archive's portrait, as Import in the editor: import ARCHIVE INPUT, or import --from DIR "
        "ARCHIVE... for the file in DIR named after each archive.");
    importing
        ->add_option("ARCHIVE INPUT", importArguments,
                     "The archive and an FSH image (RefPack-compressed ones too) or a picture, "
                     "or with --from the archives")
        ->type_name("");
    importFolderOption = importing->add_option(
        "--from", importFolder,
        "The folder of pictures and FSH images: each archive takes the one named after it "
        "(case does not count); an archive with none is skipped, one with two is refused");
    importFolderOption->type_name("DIR");
    importing
        ->add_option("--match", matchBy,
                     "What a file's name is matched with: stem (the archive's file name without "
                     ".big; the default) or identifier (its 7-character identifier)")
        ->type_name("KEY")
        ->check(oneOf({"stem", "identifier"}))
        ->needs(importFolderOption);
    importing
        ->add_option("--fit", fit,
                     "How a picture of another size becomes the portrait's: fill (cover it, cut "
                     "the overhang; the default), fit (inside, transparent margins) or stretch")
        ->type_name("MODE")
        ->check(oneOf({"fill", "fit", "stretch"}));
    importing
        ->add_option("--format", format,
                     "The pixel format of a picture's portrait: keep (the default) or one of "
                     "dxt1, dxt3, dxt5, argb8888, rgb888, rgb565, argb1555, argb4444, indexed8")
        ->type_name("FORMAT")
        ->check(oneOf(formatNames()));
    importing
        ->add_option("--mipmaps", mipmaps,
                     "Mipmap levels of a picture's portrait: keep (the default) or a count")
        ->type_name("N")
        ->check(CLI::Validator(checkMipmaps, ""));
    importing
        ->add_option("--crop", crop,
                     "The part of a picture that becomes the portrait, in the picture's pixels "
                     "(left, top, width, height), fitted as --fit says; it must lie inside the "
                     "picture")
        ->type_name("X,Y,W,H")
        ->check(CLI::Validator(checkCrop, ""))
        // One rectangle cannot suit a folder of pictures of their own sizes.
        ->excludes(importFolderOption);
    addQuiet(*importing, flags);
    addDryRun(*importing, flags);

    thumbnail = app.add_subcommand(
        "thumbnail",
        "Write the portrait of an archive or FSH image (told by its content) as a PNG picture "
        "for a file manager: the main bitmap, its aspect kept, scaled down smoothly to the size "
        "(never up). OUTPUT is a PNG picture whatever its name.");
    thumbnail
        ->add_option("-s,--size", thumbnailSize,
                     "The longer side in pixels (default 128); a smaller portrait keeps its size")
        ->type_name("N")
        ->check(CLI::Range(1, 1 << 16));
    thumbnail
        ->add_option("INPUT OUTPUT", thumbnailArguments,
                     "The archive or FSH image, and the "
                     "picture to write")
        ->type_name("");
    addQuiet(*thumbnail, flags);
    addDryRun(*thumbnail, flags);
  }

  CommandRequest infoRequest() const { return InfoRequest{json, fromArguments(infoArchives)}; }

  CommandRequest setIdRequest() const {
    if (mapOption->count() > 0) {
      if (!setIdArguments.empty())
        throw CLI::ValidationError("set-id --map FILE takes no ID, SOURCE or TARGET");
      return SetIdRequest{{}, {}, {}, fromArgument(mapFile)};
    }
    if (setIdArguments.size() != 3)
      throw CLI::ValidationError("set-id takes ID SOURCE TARGET, or --map FILE");
    return SetIdRequest{fromArgument(setIdArguments[0]), fromArgument(setIdArguments[1]),
                        fromArgument(setIdArguments[2]), std::nullopt};
  }

  CommandRequest exportRequest() const {
    ExportRequest request;
    if (folderOption->count() > 0) {
      if (exportArguments.empty())
        throw CLI::ValidationError("export --to DIR takes at least one ARCHIVE");
      request.folder = fromArgument(folder);
      request.folderFormat = QString::fromStdString(folderFormat).toLower() == QLatin1String("png")
                                 ? ExportFormat::Png
                                 : ExportFormat::Fsh;
      request.archives = fromArguments(exportArguments);
      return request;
    }
    if (exportArguments.size() != 2)
      throw CLI::ValidationError("export takes ARCHIVE OUTPUT, or --to DIR ARCHIVE...");
    request.archive = fromArgument(exportArguments[0]);
    request.output = fromArgument(exportArguments[1]);
    return request;
  }

  CommandRequest importRequest() const {
    ImportRequest request;
    if (importFolderOption->count() > 0) {
      if (importArguments.empty())
        throw CLI::ValidationError("import --from DIR takes at least one ARCHIVE");
      request.folder = fromArgument(importFolder);
      request.archives = fromArguments(importArguments);
      if (QString::fromStdString(matchBy).toLower() == QLatin1String("identifier"))
        request.matchBy = portrait::MatchBy::Identifier;
    } else {
      if (importArguments.size() != 2)
        throw CLI::ValidationError("import takes ARCHIVE INPUT, or --from DIR ARCHIVE...");
      request.archive = fromArgument(importArguments[0]);
      request.input = fromArgument(importArguments[1]);
    }
    request.fit = fitModeNamed(fit);
    request.code = *fsh::codeForFormatName(QString::fromStdString(format));
    if (QString::fromStdString(mipmaps).compare(QLatin1String("keep"), Qt::CaseInsensitive) != 0)
      request.mipmapCount = QString::fromStdString(mipmaps).toInt();
    // "keep" asks nothing an FSH image could not give, and --fit only says how
    // a picture would be fitted: a script may pass them for every input.
    request.pictureChangesAsked = request.code.has_value() || request.mipmapCount.has_value();
    if (!crop.empty()) request.crop = *cropNamed(crop);
    return request;
  }

  CommandRequest thumbnailRequest() const {
    if (thumbnailArguments.size() != 2) throw CLI::ValidationError("thumbnail takes INPUT OUTPUT");
    return ThumbnailRequest{fromArgument(thumbnailArguments[0]),
                            fromArgument(thumbnailArguments[1]), thumbnailSize};
  }

  CommandLine commandLine() const {
    CommandLine line;
    if (info->parsed())
      line.request = infoRequest();
    else if (setId->parsed())
      line.request = setIdRequest();
    else if (exporting->parsed())
      line.request = exportRequest();
    else if (importing->parsed())
      line.request = importRequest();
    else
      line.request = thumbnailRequest();
    line.quiet = flags.quiet;
    line.dryRun = flags.dryRun;
    return line;
  }
};

// The first argument that is not an option must name a subcommand; the
// parser would only say that one is missing.
std::optional<std::string> unknownSubcommand(const CLI::App& app, int argc,
                                             const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--") return std::nullopt;
    if (argument.empty() || argument[0] == '-') continue;
    if (app.get_subcommands(
               [&](const CLI::App* command) { return command->get_name() == argument; })
            .empty())
      return argument;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::variant<CommandLine, ExitStatus> parseCommandLine(int argc, const char* const* argv,
                                                       std::ostream& out, std::ostream& err) {
  Parser parser;
  try {
    if (const auto unreadable = nameNotInUtf8(argc, argv))
      throw CLI::ValidationError(*unreadable +
                                 ": this argument is not valid UTF-8, the encoding names and "
                                 "identifiers are read in");
    if (const auto unknown = unknownSubcommand(parser.app, argc, argv))
      throw CLI::ValidationError("unknown subcommand " + *unknown +
                                 " (known: info, set-id, export, import, thumbnail)");
    parser.app.parse(argc, argv);
    return parser.commandLine();
  } catch (const CLI::CallForHelp& help) {
    parser.app.exit(help, out, err);
    return ExitStatus::Success;
  } catch (const CLI::CallForAllHelp& help) {
    parser.app.exit(help, out, err);
    return ExitStatus::Success;
  } catch (const CLI::CallForVersion& version) {
    parser.app.exit(version, out, err);
    return ExitStatus::Success;
  } catch (const CLI::Error& error) {
    err << programName().toStdString() << ": "
        << printableText(QString::fromStdString(error.what())).toStdString() << "\n"
        << "Run with --help for more information.\n";
    return ExitStatus::UsageError;
  }
}

}  // namespace cli
