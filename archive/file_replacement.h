#pragma once

#include <QByteArrayView>
#include <QString>
#include <initializer_list>

// Makes bytes the whole content of the file at path, creating it if needed. The
// new content is written to a temporary file in the same folder and renamed over
// the old one: after a failure the old file is as it was and no temporary file
// is left; after success the file is exactly bytes long. Failures are thrown as
// CommandError.
void ReplaceFileContents(const QString& path, QByteArrayView bytes);

// The same with the new content given as consecutive pieces, written one after
// the other, so that a caller never joins large pieces in memory first.
void ReplaceFileContents(const QString& path, std::initializer_list<QByteArrayView> pieces);
