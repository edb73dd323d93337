#include "cli/portrait_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "cli/console.h"

namespace cli {

namespace {

using ServiceEntry = const portrait::Service* (*)();

// Where the module may lie, relative to the program: installed, in its own
// folder under the library folder; in a build, beside the program. Never a
// path from the environment or the working folder.
QStringList moduleCandidates() {
  const QDir programFolder(QCoreApplication::applicationDirPath());
  return {programFolder.filePath(
              QStringLiteral(CPE_PORTRAIT_MODULE_INSTALLED_DIR "/" CPE_PORTRAIT_MODULE_FILE)),
          programFolder.filePath(QStringLiteral(CPE_PORTRAIT_MODULE_FILE))};
}

}  // namespace

Expected<const portrait::Service*, FileFailure> portraitService() {
  static QLibrary module;  // kept loaded until the program ends
  static const portrait::Service* service = nullptr;
  if (service) return service;
  QString why = QCoreApplication::translate("cli", "not found");
  for (const QString& candidate : moduleCandidates()) {
    if (!QFileInfo::exists(candidate)) continue;
    module.setFileName(candidate);
    if (!module.load()) {
      why = module.errorString();
      continue;
    }
    const auto entry = reinterpret_cast<ServiceEntry>(module.resolve("cpePortraitService"));
    if (entry && (service = entry())) return service;
    why = QCoreApplication::translate("cli", "%1 has no portrait service").arg(candidate);
    module.unload();
  }
  return Unexpected(FileFailure{
      QStringLiteral(CPE_PORTRAIT_MODULE_FILE),
      QCoreApplication::translate("cli", "the picture support cannot be loaded (%1); reinstall %2")
          .arg(why, programName())});
}

}  // namespace cli
