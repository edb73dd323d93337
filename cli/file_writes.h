#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <vector>

#include "archive/archive_error.h"
#include "archive/prepared_file.h"
#include "cli/file_keys.h"
#include "common/expected.h"

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
// In a dry run each is prepared, so that every check a real run makes is made,
// and thrown away once no later file of the batch can read it. Refusals and failures are reported
// on the console, naming the file; a file that is refused or fails is left as it was.
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
  // Takes a preparation's result; a file that is one of the program's
  // standard streams is refused too.
  void add(Expected<PreparedFile, ArchiveError> prepared, const QString& refusedFile,
           WriteNote note, Naming naming = Naming::FileInError);
  // Before a file reads source and writes target: what earlier files of the
  // batch wrote there must be seen. A real batch commits what is pending when
  // either is pending; a dry run reads the content prepared for source instead.
  // Returns where to read source from.
  QString settleBefore(const QString& source, const QString& target);
  // Commits what is pending, or in a dry run throws it away.
  void finish();
  // The files the batch reads. A dry run keeps what it prepared for one of
  // them, for settleBefore, and throws everything else away at once, so that
  // it holds few files open however long the batch.
  void expectReads(const QStringList& paths);

 private:
  Mode m_mode;
  Console& m_console;
  std::vector<PreparedFile> m_pending;
  std::vector<WriteNote> m_notes;
  QHash<QString, size_t> m_pendingFiles;  // each file's latest place in m_pending
  QSet<QString> m_expectedReads;
  FileKeys m_keys;
  size_t m_groupSize;
};
