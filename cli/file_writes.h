#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "archive/archive_error.h"
#include "archive/prepared_file.h"
#include "cli/file_keys.h"
#include "common/expected.h"

namespace cli {

class Console;

// What is said once a file is written, or would be: "<file>: <done> (<n> bytes)".
struct WriteNote {
  QString file;
  QString done;     // "saved from a.big with identifier zz99yy8"
  QString wouldBe;  // "would be saved from a.big with identifier zz99yy8"
};

// Where the commands' new files go. One at a time, each is committed as soon
// as it is prepared, synced on its own. Together (a batch), they are committed
// in groups, one sync of their file systems for each group (fileio::commitTogether).
// In a dry run each is only planned: every check a real run makes that needs
// no write is made (the folder may be written, the file replaced, the room
// is free, summed over the batch), and nothing is created anywhere; the
// content of a file a later file of the batch reads is kept in memory.
// Refusals and failures are reported on the console, naming the file; a file
// that is refused or fails is left as it was.
class FileWrites {
 public:
  enum class Mode { OneAtATime, Together, DryRun };
  FileWrites(Mode mode, Console& console);
  ~FileWrites();  // gives up what is still pending
  FileWrites(const FileWrites&) = delete;
  FileWrites& operator=(const FileWrites&) = delete;

  // Whom a refusal is reported for: the file the error names, or else
  // refusedFile; or always refusedFile (a roster line, named by its pair).
  enum class Naming { FileInError, AlwaysRefusedFile };
  // How the file at target is to be made: prepared, or in a dry run planned.
  archive::Making making(const QString& target);
  // Takes a preparation's or a plan's result; a file that is one of the
  // program's standard streams is refused too.
  void add(Expected<archive::NewFile, archive::ArchiveError> made, const QString& refusedFile,
           WriteNote note, Naming naming = Naming::FileInError);
  // Before a file reads source and writes target: what earlier files of the
  // batch wrote there must be seen. A real batch commits what is pending when
  // either is pending; a dry run reads the content planned for source instead.
  // Returns where to read source from, until the next call.
  QString settleBefore(const QString& source, const QString& target);
  // Commits what is pending, or in a dry run throws it away.
  void finish();
  // The files the batch reads. A dry run keeps in memory what it planned for
  // one of them, for settleBefore, and nothing of the others.
  void expectReads(const QStringList& paths);

 private:
  void plan(const archive::PlannedFile& planned, const WriteNote& note,
            const std::function<void(const archive::ArchiveError&)>& refuse);

  Mode m_mode;
  Console& m_console;
  archive::SpaceBudget m_space;
  QHash<QString, QByteArray> m_planned;          // a dry run's content that later files read
  std::optional<archive::MemoryFile> m_reading;  // what a dry run's current file reads
  std::vector<archive::PreparedFile> m_pending;
  std::vector<WriteNote> m_notes;
  QHash<QString, size_t> m_pendingFiles;  // each file's latest place in m_pending
  QSet<QString> m_expectedReads;
  FileKeys m_keys;
  size_t m_groupSize;
};

}  // namespace cli
