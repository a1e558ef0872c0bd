#pragma once
// Subtitles drawn over a picture: each line centred, the blocks stacked up from the bottom,
// the text in its colours with a dark outline so that it reads on any picture, its size a
// share of the picture's height.
#include <QColor>
#include <QPainterPath>
#include <QSize>
#include <vector>

#include "platform/media_player.h"

class QPainter;

namespace obrel {

class SubtitlePainter {
 public:
  // Draws shown over a picture of the given size whose top left is at (0, 0). Lines too
  // wide or too many for the picture are drawn smaller, all alike, so that they fit.
  void paint(QPainter& painter, const Subtitles& shown, QSize picture);

 private:
  struct Piece {
    QPainterPath path;
    QColor colour;
  };

  // Turns shown into outlines for a picture of the given size.
  void layOut(const Subtitles& shown, QSize picture);

  // What the pieces were laid out for.
  Subtitles laidOut_;
  QSize picture_;
  std::vector<Piece> pieces_;
  qreal outlineWidth_ = 0;
};

}  // namespace obrel
