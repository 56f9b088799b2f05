#pragma once

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

#include "model/albumclasses.h"

// The wizard's schematic previews of the modern page style: the same settings
// as the classic previews, drawn as the fluid pages look in a browser.

namespace folivant {

/// What the modern previews show of an album.
struct TModernPreview {
  QString Title;
  QString Description;
  TColorScheme Colors;
  bool BackToHome = false;
  bool ThumbnailBar = false;
  bool CameraData = false;
  int Rows = 0;
  int Cols = 0;

  static TModernPreview Of(const TAlbum& album);
};

/// The index page inside `frame`, whose page colour is already painted: the
/// centred title and description, a grid of framed thumbnails of at most the
/// album's columns and rows, the page links.
void PaintModernIndexPreview(QPainter& painter, const QRect& frame, const QFont& base, const TModernPreview& preview);

/// The photo page inside `frame`: the photograph first, as large as the width
/// and the bar under it allow, with the previous and next controls over it,
/// the bar (index link, title, counter), the caption (and camera data) and
/// the thumbnail strip.
void PaintModernPhotoPreview(QPainter& painter, const QRect& frame, const QFont& base, const TModernPreview& preview);

}  // namespace folivant
