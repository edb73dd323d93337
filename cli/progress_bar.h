#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

namespace cli {

// The line a progress bar shows for `done` of `total` files, `width` cells wide:
// "[##########----------]  500/1000".
QString progressLine(qsizetype done, qsizetype total, int width = 30);

// A progress bar drawn on one line of a terminal, redrawn at most ten times a
// second. Anything else printed to the terminal first clears it (clear()), and
// the next advance() draws it again.
class ProgressBar {
 public:
  ProgressBar(FILE* terminal, qsizetype total);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void advance();
  void clear();

 private:
  void draw();

  FILE* m_terminal;
  qsizetype m_total;
  qsizetype m_done = 0;
  bool m_shown = false;
  QElapsedTimer m_sinceDrawn;
};

}  // namespace cli
