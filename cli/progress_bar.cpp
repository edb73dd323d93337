#include "cli/progress_bar.h"

#include <QCoreApplication>
#include <algorithm>

namespace cli {

namespace {

constexpr qint64 RedrawIntervalMs = 100;

}  // namespace

QString progressLine(qsizetype done, qsizetype total, int width) {
  done = std::clamp<qsizetype>(done, 0, total);
  const qsizetype filled = total > 0 ? done * width / total : width;
  const QString count = QString::number(total);
  return QLatin1Char('[') + QString(filled, QLatin1Char('#')) +
         QString(width - filled, QLatin1Char('-')) + QCoreApplication::translate("cli", "] ") +
         QString::number(done).rightJustified(count.size()) + QLatin1Char('/') + count;
}

ProgressBar::ProgressBar(FILE* terminal, qsizetype total) : m_terminal(terminal), m_total(total) {
  draw();
}

ProgressBar::~ProgressBar() { clear(); }

void ProgressBar::advance() {
  ++m_done;
  if (!m_shown || m_done == m_total || m_sinceDrawn.elapsed() >= RedrawIntervalMs) draw();
}

void ProgressBar::clear() {
  if (!m_shown) return;
  // Back to the start of the line, and erase it.
  std::fputs("\r\033[K", m_terminal);
  std::fflush(m_terminal);
  m_shown = false;
}

void ProgressBar::draw() {
  std::fputs(("\r" + progressLine(m_done, m_total)).toLocal8Bit().constData(), m_terminal);
  std::fflush(m_terminal);
  m_shown = true;
  m_sinceDrawn.start();
}

}  // namespace cli
