// The file types as a file manager detects them once the package is installed: by name, and
// by the first bytes of a file whose name says nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>

#include "support/qt_printers.h"

namespace {

const QString BigArchive = QStringLiteral("application/x-big-archive");
const QString FshImage = QStringLiteral("image/x-fsh");

struct Detection {
  const char* name;
  QByteArray firstBytes;  // followed by zeros
  QString expected;       // empty: anything but the editor's two types
};

void PrintTo(const Detection& d, std::ostream* os) {
  *os << d.name << " starting " << d.firstBytes.left(8).toHex(' ').toStdString();
}

class FileTypes : public ::testing::TestWithParam<Detection> {
 protected:
  // Qt reads the MIME database once per process, from the data folders in the environment:
  // the system's, and ahead of them a scratch folder with only the editor's package compiled
  // into it, as update-mime-database does on installation.
  static void SetUpTestSuite() {
    s_data = new QTemporaryDir;
    ASSERT_TRUE(s_data->isValid());
    const QDir mime(s_data->filePath(QStringLiteral("mime")));
    ASSERT_TRUE(QDir().mkpath(mime.filePath(QStringLiteral("packages"))));
    ASSERT_TRUE(QFile::copy(QStringLiteral(CPE_MIME_PACKAGE),
                            mime.filePath(QStringLiteral("packages/" CPE_APP_ID ".xml"))));
    QProcess update;
    update.start(QStringLiteral("update-mime-database"), {mime.path()});
    ASSERT_TRUE(update.waitForFinished(30000)) << "update-mime-database did not run";
    ASSERT_EQ(update.exitCode(), 0) << update.readAllStandardError().toStdString();
    qputenv("XDG_DATA_HOME", s_data->path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (s_data->path() + QStringLiteral(":/usr/share")).toLocal8Bit());
  }
  static void TearDownTestSuite() {
    delete s_data;
    s_data = nullptr;
  }

  static QTemporaryDir* s_data;
};

QTemporaryDir* FileTypes::s_data = nullptr;

TEST_P(FileTypes, AreDetectedByNameAndFirstBytes) {
  const Detection& d = GetParam();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QString::fromLatin1(d.name));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(d.firstBytes + QByteArray(64, '\0')), d.firstBytes.size() + 64);
  file.close();

  const QString detected = QMimeDatabase().mimeTypeForFile(path).name();
  if (d.expected.isEmpty()) {
    EXPECT_NE(detected, BigArchive);
    EXPECT_NE(detected, FshImage);
  } else {
    EXPECT_EQ(detected, d.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(EditorTypes, FileTypes,
                         ::testing::Values(
                             // Name and content agree.
                             Detection{"ab12cd3.big", "BIGF", BigArchive},
                             Detection{"ab12cd3.big", "BIG4", BigArchive},
                             Detection{"face.fsh", "SHPI", FshImage},
                             // The content alone, under a name that says nothing.
                             Detection{"download", "BIGF", BigArchive},
                             Detection{"download", "BIG4", BigArchive},
                             Detection{"download", "SHPI", FshImage},
                             // The name alone: a damaged archive still opens in the editor, which
                             // says what is wrong with it.
                             Detection{"damaged.big", "", BigArchive},
                             Detection{"damaged.big", "not an archive", BigArchive},
                             Detection{"damaged.fsh", "", FshImage},
                             // The magic only counts at the very start, in its own case.
                             Detection{"download", " BIGF", {}}, Detection{"download", "bigf", {}},
                             Detection{"download", "BIG", {}}, Detection{"download", "xSHPI", {}}));

}  // namespace
