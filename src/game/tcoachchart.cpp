#include "tcoachchart.h"

#include <QPainter>

#include <algorithm>

#include "rules/tgame.h"
#include "windows/tcolor.h"
#include "windows/tfont.h"

namespace velnor {

namespace {

constexpr std::uint32_t kLineColor = clWhite;
constexpr int kLegendHeight = 16;
constexpr int kLabelHeight = 14;  // a score over its bar, a round number under it

}  // namespace

TCoachChart::TCoachChart(QWidget* parent) : QWidget(parent) {}

void TCoachChart::set_scores(std::vector<int> scores, double expected) {
  scores_ = std::move(scores);
  expected_ = expected;
  update();
}

void TCoachChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor text = tcolor(kPaleYellow);
  painter.setFont(tfont(kFormFont, -11, {.bold = true}));

  // Scores run from 0 at the foot to the all-shut 65 at the head.
  const int top = kLegendHeight + kLabelHeight;
  const int foot = height() - kLabelHeight;
  const auto y_of = [&](double score) { return foot - score * (foot - top) / Tgame::kAllShutScore; };
  const double slot = static_cast<double>(width()) / Tgame::kRounds;
  const int played = std::min(static_cast<int>(scores_.size()), Tgame::kRounds);

  painter.setPen(QPen(tcolor(kDarkGreen), 1));
  painter.setBrush(text);
  for (int round = 1; round <= played; ++round) {
    const double score = scores_[round - 1];
    painter.drawRect(QRectF(slot * (round - 1) + slot * 0.2, y_of(score), slot * 0.6, foot - y_of(score)));
  }
  painter.setPen(QPen(text, 1));
  painter.drawLine(QPointF(0, foot), QPointF(width(), foot));
  const QPen line(tcolor(kLineColor), 2, Qt::DashLine);
  painter.setPen(line);
  painter.drawLine(QPointF(0, y_of(expected_)), QPointF(width(), y_of(expected_)));

  // Figures go over the line on a patch of the window's colour, so both stay readable.
  const QColor ground = palette().color(QPalette::Window);
  const auto figure = [&](const QRectF& box, const QString& figure_text) {
    const QRectF tight = painter.boundingRect(box, Qt::AlignCenter, figure_text);
    painter.fillRect(tight.adjusted(-1, 0, 1, 0), ground);
    painter.setPen(text);
    painter.drawText(box, Qt::AlignCenter, figure_text);
  };
  for (int round = 1; round <= Tgame::kRounds; ++round) {
    const double left = slot * (round - 1);
    figure(QRectF(left, foot, slot, kLabelHeight), QString::number(round));
    if (round <= played)
      figure(QRectF(left, y_of(scores_[round - 1]) - kLabelHeight, slot, kLabelHeight),
             QString::number(scores_[round - 1]));
  }

  // The legend, in the strip above the bars.
  const QString legend = tr("best play averages %1 a round").arg(expected_, 0, 'f', 1);
  const int legend_width = painter.fontMetrics().horizontalAdvance(legend);
  const int y = kLegendHeight / 2;
  painter.setPen(line);
  painter.drawLine(QPointF(width() - legend_width - 34, y), QPointF(width() - legend_width - 8, y));
  painter.setPen(text);
  painter.drawText(QRect(0, 0, width(), kLegendHeight), Qt::AlignRight | Qt::AlignVCenter, legend);
}

}  // namespace velnor
