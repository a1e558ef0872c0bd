#include "platform/qt/qt_subtitle_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <cstddef>

#include "platform/qt/qt_text.h"

namespace obrel {

namespace {

// The text's size as a share of the picture's height, and the least it may be: a small
// picture's text is small too, but never unreadable.
constexpr qreal kTextShare = 0.058;
constexpr int kLeastPixels = 10;
// Space left free below the text and at its sides, as shares of the picture.
constexpr qreal kBottomShare = 0.04;
constexpr qreal kSideShare = 0.03;
// The dark outline's width as a share of the text's size (half of it lies outside the
// letters), and the least width that still shows.
constexpr qreal kOutlineShare = 0.16;
constexpr qreal kLeastOutline = 2.0;
// The space between two entries, in lines.
constexpr qreal kBlockGap = 0.25;

QFont runFont(const QFont& base, const TextStyle& style) {
  QFont font = base;
  font.setItalic(style.italic);
  font.setBold(style.bold);
  font.setUnderline(style.underline);
  return font;
}

QColor qtColour(Rgb rgb) {
  return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>(rgb & 0xFF));
}

// The lines of a block from the first to the last that draws something, as [first, last);
// empty for a block that draws nothing. Empty lines between them keep their place.
std::pair<std::size_t, std::size_t> drawnLines(const std::vector<StyledLine>& block) {
  std::size_t first = 0;
  std::size_t last = block.size();
  while (first < last && block[first].empty()) ++first;
  while (last > first && block[last - 1].empty()) --last;
  return {first, last};
}

}  // namespace

void SubtitlePainter::paint(QPainter& painter, const Subtitles& shown, QSize picture) {
  if (shown != laidOut_ || picture != picture_) layOut(shown, picture);
  if (pieces_.empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  // Every outline first, so that no line's outline covers the letters of the line above.
  painter.setPen(
      QPen(QColor(0, 0, 0, 230), outlineWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  for (const Piece& piece : pieces_) painter.drawPath(piece.path);
  painter.setPen(Qt::NoPen);
  for (const Piece& piece : pieces_) painter.fillPath(piece.path, piece.colour);
  painter.restore();
}

void SubtitlePainter::layOut(const Subtitles& shown, QSize picture) {
  laidOut_ = shown;
  picture_ = picture;
  pieces_.clear();
  const int pixels = std::max(kLeastPixels, qRound(picture.height() * kTextShare));
  QFont base(QStringLiteral("Arial"));
  base.setStyleHint(QFont::SansSerif);
  base.setPixelSize(pixels);
  const QFontMetricsF metrics(base);
  const qreal lineStep = metrics.lineSpacing();

  // Laid out at full size around x = 0, from y = 0 (the bottom of the lowest line) upwards,
  // then scaled and moved onto the picture.
  qreal y = 0;
  qreal widest = 0;
  bool any = false;
  for (const std::vector<StyledLine>& block : shown) {
    const auto [first, last] = drawnLines(block);
    if (first == last) continue;
    if (any) y -= lineStep * kBlockGap;
    any = true;
    for (std::size_t i = last; i-- > first;) {
      qreal width = 0;
      for (const StyledRun& run : block[i]) {
        width += QFontMetricsF(runFont(base, run.style)).horizontalAdvance(qs(run.text));
      }
      qreal x = -width / 2;
      const qreal baseline = y - metrics.descent();
      for (const StyledRun& run : block[i]) {
        const QFont font = runFont(base, run.style);
        const QString text = qs(run.text);
        Piece piece{QPainterPath(), qtColour(run.style.colour)};
        piece.path.addText(x, baseline, font, text);
        pieces_.push_back(std::move(piece));
        x += QFontMetricsF(font).horizontalAdvance(text);
      }
      widest = std::max(widest, width);
      y -= lineStep;
    }
  }
  if (!any) return;

  const qreal room = picture.width() * (1 - 2 * kSideShare);
  const qreal bottom = picture.height() * kBottomShare;
  qreal scale = 1;
  if (widest > room) scale = room / widest;
  if (-y * scale > picture.height() - bottom) scale = (picture.height() - bottom) / -y;
  QTransform place;
  place.translate(picture.width() / 2.0, picture.height() - bottom);
  place.scale(scale, scale);
  for (Piece& piece : pieces_) piece.path = place.map(piece.path);
  outlineWidth_ = std::max(kLeastOutline, pixels * kOutlineShare * scale);
}

}  // namespace obrel
