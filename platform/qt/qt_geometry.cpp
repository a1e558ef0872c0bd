#include "platform/qt/qt_geometry.h"

#include <algorithm>
#include <cmath>

namespace obrel {

int pixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QRect pixelRect(const Rect& place) {
  return {pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height)};
}

QSize iconSize(QSize picture, const Rect& place) {
  const QSize room(std::max(1, pixels(place.width) - 4), std::max(1, pixels(place.height) - 4));
  if (picture.width() > room.width() || picture.height() > room.height()) {
    picture.scale(room, Qt::KeepAspectRatio);
  }
  return picture;
}

}  // namespace obrel
