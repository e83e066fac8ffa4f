#pragma once

#include <QByteArray>
#include <QString>

namespace vellara::platform {

// libwmf trusts the sizes a metafile announces, and a broken or hostile
// file can make it read past its buffers. Every metafile passes this check
// first; only its result, never the file as read, is handed to libwmf.

// Files larger than this are not metafiles a deck would hold.
inline constexpr qsizetype kMaxMetafileBytes = 32 * 1024 * 1024;
// Largest bitmap a metafile may embed, in pixels.
inline constexpr qint64 kMaxEmbeddedPixels = 16 * 1024 * 1024;

// Checks that bytes hold a well-formed Windows Metafile, with or without the
// placeable header: the header, every record's size, the parameters that
// the records libwmf draws rely on, and every embedded bitmap's size. On
// success returns the file as libwmf is to read it: cut after its last whole
// record, ended by an end record, with the header's record and object counts
// made true. On failure returns an empty array and says why in *why.
QByteArray checkedMetafile(const QByteArray &bytes, QString *why = nullptr);

// True when bytes begin like a metafile (placeable key or standard header),
// which decides between libwmf and the raster readers.
bool looksLikeMetafile(const QByteArray &bytes);

} // namespace vellara::platform
