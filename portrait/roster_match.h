#pragma once

#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// Which file of a folder goes into which archive of a roster. Qt Core only and
// inline: the command line links no portrait function of its own (it reaches
// the service through a module it loads), and it matches a roster before it
// knows whether any picture has to be decoded.
namespace portrait {

// What an archive is matched by: its file name without the extension ("pl0"
// for pl0.big, as export --to names its outputs), or the 7-character
// identifier of its name table.
enum class MatchBy { Stem, Identifier };

struct RosterMatch {
  struct Pair {
    qsizetype archive = 0;  // index into the keys given
    QString fileName;
    bool operator==(const Pair&) const = default;
  };
  struct Clash {
    qsizetype archive = 0;
    QStringList fileNames;  // sorted
    bool operator==(const Clash&) const = default;
  };
  QList<Pair> pairs;                // in the archives' order
  QList<qsizetype> withoutFile;     // archives no file is named for
  QList<Clash> clashes;             // archives two or more files are named for
  QStringList filesWithoutArchive;  // candidates no archive is named for, in the listing's order
};

// A file's name without its last extension, which is what is matched: "pl0"
// for pl0.png, "pl0.old" for pl0.old.png.
inline QString rosterStem(const QString& fileName) {
  return QFileInfo(fileName).completeBaseName();
}

// Matches the files of a folder listing whose extension is one of suffixes
// (lower case, without the dot; others are ignored) to the archives' keys
// (stems or identifiers). Case does not count, in keys or in extensions: a
// picture named PL0.JPG from a camera is pl0's, and a folder of pl0.png and
// PL0.jpg is two candidates for one archive, which is refused rather than guessed.
inline RosterMatch matchRoster(const QStringList& fileNames, const QStringList& keys,
                               const QSet<QString>& suffixes) {
  QHash<QString, QStringList> candidates;  // by folded key
  QStringList order;
  for (const QString& name : fileNames) {
    if (!suffixes.contains(QFileInfo(name).suffix().toLower())) continue;
    const QString key = rosterStem(name).toCaseFolded();
    if (key.isEmpty()) continue;
    candidates[key] << name;
    order << name;
  }
  RosterMatch match;
  QSet<QString> used;
  for (qsizetype i = 0; i < keys.size(); ++i) {
    const QString key = keys[i].toCaseFolded();
    const auto found = candidates.constFind(key);
    if (found == candidates.cend()) {
      match.withoutFile << i;
      continue;
    }
    used.insert(key);
    if (found->size() == 1) {
      match.pairs << RosterMatch::Pair{i, found->first()};
    } else {
      QStringList names = *found;
      names.sort();
      match.clashes << RosterMatch::Clash{i, names};
    }
  }
  for (const QString& name : order)
    if (!used.contains(rosterStem(name).toCaseFolded())) match.filesWithoutArchive << name;
  return match;
}

}  // namespace portrait
